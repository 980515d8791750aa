#include "support/scripted_jvlink.h"

namespace rwtest {

std::int32_t ScriptedJvLink::JVInit(const QString& softwareId) {
    log << QStringLiteral("JVInit(%1)").arg(softwareId);
    return initResult;
}

std::int32_t ScriptedJvLink::JVSetUIProperties() {
    log << QStringLiteral("JVSetUIProperties");
    return uiResult;
}

std::int32_t ScriptedJvLink::JVOpen(const QString& dataSpec, const QString& fromTime, std::int32_t option,
                                    std::int32_t& readCount, std::int32_t& downloadCount,
                                    QString& lastFileTimestampOut) {
    log << QStringLiteral("JVOpen(%1,%2,%3)").arg(dataSpec, fromTime).arg(option);
    OpenOutcome o = defaultOpen;
    if (!opens.empty()) {
        o = opens.front();
        opens.pop_front();
    }
    realtimeMode_ = false;
    readCount = o.readCount;
    downloadCount = o.downloadCount;
    lastDownloadCount_ = o.downloadCount;
    lastFileTimestampOut = lastFileTimestamp;
    return o.result;
}

std::int32_t ScriptedJvLink::JVStatus() {
    log << QStringLiteral("JVStatus");
    if (statuses.empty()) return lastDownloadCount_;
    std::int32_t s = statuses.front();
    statuses.pop_front();
    return s;
}

std::int32_t ScriptedJvLink::JVRead(QByteArray& buffer, std::int32_t& size, QString& fileName) {
    log << QStringLiteral("JVRead");
    std::deque<ReadStep>& q = realtimeMode_ ? realtimeReads_ : reads;
    if (q.empty()) return rw::jv::kReadEnd;
    ReadStep s = std::move(q.front());
    q.pop_front();
    fileName = s.fileName;
    if (s.result > 0) {
        buffer = s.record;
        size = std::int32_t(s.record.size());
        return std::int32_t(s.record.size());
    }
    if (!s.record.isEmpty()) buffer = s.record;
    return s.result;
}

std::int32_t ScriptedJvLink::JVFiledelete(const QString& fileName) {
    log << QStringLiteral("JVFiledelete(%1)").arg(fileName);
    deletedFiles << fileName;
    return filedeleteResult;
}

std::int32_t ScriptedJvLink::JVRTOpen(const QString& dataSpec, const QString& key) {
    log << QStringLiteral("JVRTOpen(%1,%2)").arg(dataSpec, key);
    realtimeMode_ = true;
    auto it = realtime.find({dataSpec, key});
    realtimeReads_ = it == realtime.end() ? std::deque<ReadStep>{} : it->second;
    return rtOpenResult;
}

std::int32_t ScriptedJvLink::JVCancel() {
    log << QStringLiteral("JVCancel");
    ++cancels;
    return 0;
}

std::int32_t ScriptedJvLink::JVClose() {
    log << QStringLiteral("JVClose");
    ++closes;
    realtimeMode_ = false;
    realtimeReads_.clear();
    return 0;
}

namespace {

// One window's JVLink1: forwards to the shared script.
class Proxy : public rw::jv::JvLink {
public:
    explicit Proxy(std::shared_ptr<ScriptedJvLink> target) : t_(std::move(target)) {}
    std::int32_t JVInit(const QString& id) override { return t_->JVInit(id); }
    std::int32_t JVSetUIProperties() override { return t_->JVSetUIProperties(); }
    std::int32_t JVOpen(const QString& code, const QString& from, std::int32_t option, std::int32_t& readCount,
                        std::int32_t& downloadCount, QString& stamp) override {
        return t_->JVOpen(code, from, option, readCount, downloadCount, stamp);
    }
    std::int32_t JVStatus() override { return t_->JVStatus(); }
    std::int32_t JVRead(QByteArray& b, std::int32_t& size, QString& name) override { return t_->JVRead(b, size, name); }
    std::int32_t JVFiledelete(const QString& name) override { return t_->JVFiledelete(name); }
    std::int32_t JVRTOpen(const QString& code, const QString& key) override { return t_->JVRTOpen(code, key); }
    std::int32_t JVCancel() override { return t_->JVCancel(); }
    std::int32_t JVClose() override { return t_->JVClose(); }

private:
    std::shared_ptr<ScriptedJvLink> t_;
};

}  // namespace

ScriptedJvLinkInstall::ScriptedJvLinkInstall()
    : link_(std::make_shared<ScriptedJvLink>()), created_(std::make_shared<int>(0)) {
    rw::jv::setJvLinkFactory([link = link_, created = created_]() -> std::unique_ptr<rw::jv::JvLink> {
        ++*created;
        return std::make_unique<Proxy>(link);
    });
}

ScriptedJvLinkInstall::~ScriptedJvLinkInstall() { rw::jv::setJvLinkFactory({}); }

}  // namespace rwtest
