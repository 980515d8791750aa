#include "jvdata/jvlink.h"

namespace rw::jv {

namespace {

// Until the file-backed component is in place: a component without data.
class EmptyJvLink : public JvLink {
public:
    std::int32_t JVInit(const QString& id) override { return id.isEmpty() ? -101 : 0; }
    std::int32_t JVSetUIProperties() override { return -1; }
    std::int32_t JVOpen(const QString&, const QString&, std::int32_t, std::int32_t& readCount,
                        std::int32_t& downloadCount, QString& stamp) override {
        readCount = 0;
        downloadCount = 0;
        stamp.clear();
        return 0;
    }
    std::int32_t JVStatus() override { return 0; }
    std::int32_t JVRead(QByteArray& buffer, std::int32_t&, QString& name) override {
        buffer.clear();
        name.clear();
        return kReadEnd;
    }
    std::int32_t JVFiledelete(const QString&) override { return -1; }
    std::int32_t JVRTOpen(const QString&, const QString&) override { return -1; }
    std::int32_t JVCancel() override { return 0; }
    std::int32_t JVClose() override { return 0; }
};

JvLinkFactory& factory() {
    static JvLinkFactory f;
    return f;
}

}  // namespace

std::unique_ptr<JvLink> createJvLink() {
    if (factory()) {
        if (auto link = factory()()) return link;
    }
    return std::make_unique<EmptyJvLink>();
}

void setJvLinkFactory(JvLinkFactory f) { factory() = std::move(f); }

}  // namespace rw::jv
