#pragma once
// A statement that fails. The long tasks catch it, record it and go on with
// their next statement; everything else lets it reach its caller.
#include <stdexcept>
#include <string>

namespace rw {

class StepFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void fail(const std::string& what) { throw StepFailure(what); }

}  // namespace rw
