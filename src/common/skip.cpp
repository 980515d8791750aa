#include "common/skip.h"

#include <cstdio>

namespace rw {

void SkipLog::record(std::string_view what, std::string_view why) {
    std::string line(what);
    line += ": ";
    line += why;
    skipped_.push_back(std::move(line));
}

size_t SkipLog::report() const {
    for (const auto& s : skipped_) std::fprintf(stderr, "%s: skipped %s\n", task_.c_str(), s.c_str());
    return skipped_.size();
}

}  // namespace rw
