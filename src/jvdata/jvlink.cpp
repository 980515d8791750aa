#include "jvdata/jvlink.h"

#include "common/kestrav_path.h"
#include "jvdata/jvlink_file.h"

namespace rw::jv {

namespace {

JvLinkFactory& factory() {
    static JvLinkFactory f;
    return f;
}

}  // namespace

std::unique_ptr<JvLink> createJvLink() {
    if (factory()) {
        if (auto link = factory()()) return link;
    }
    return std::make_unique<FileJvLink>(AppPath.isEmpty() ? GetAppPath() : AppPath);
}

void setJvLinkFactory(JvLinkFactory f) { factory() = std::move(f); }

}  // namespace rw::jv
