#pragma once
// A JV-Link that plays a script, so every branch of the callers can be driven
// without data files, and that logs every call so tests can check the order.
//
//   rwtest::ScriptedJvLinkInstall jv;          // every createJvLink() talks to it
//   jv.link().opens = {{0, 3, 0}};
//   jv.link().reads = {ReadStep::rec(ra), ReadStep::code(-1), ReadStep::rec(se)};
//   ... run the caller ...
//   EXPECT_EQ(jv.link().log, QStringList({"JVInit(x)", "JVOpen(...)", ...}));
//
// Log entries: "JVInit(<id>)", "JVSetUIProperties", "JVOpen(<request>,<from>,<option>)",
// "JVStatus", "JVRead", "JVFiledelete(<name>)", "JVRTOpen(<request>,<key>)",
// "JVCancel", "JVClose".
#include "jvdata/jvlink.h"

#include <QStringList>
#include <deque>
#include <map>
#include <memory>
#include <utility>

namespace rwtest {

struct OpenOutcome {
    std::int32_t result = 0;
    std::int32_t readCount = 0;
    std::int32_t downloadCount = 0;
};

struct ReadStep {
    // Result of the read. When above 0 the record is delivered and the read
    // returns its length instead.
    std::int32_t result = 0;
    // Delivered in the buffer when result > 0. For a result <= 0 the buffer is
    // left as it was, unless `record` is non-empty (then it is put there, to
    // imitate a component that leaves something behind).
    QByteArray record;
    QString fileName;

    static ReadStep rec(QByteArray bytes, QString file = QString()) {
        return {1, std::move(bytes), std::move(file)};
    }
    static ReadStep code(std::int32_t result, QString file = QString()) { return {result, {}, std::move(file)}; }
};

class ScriptedJvLink : public rw::jv::JvLink {
public:
    // --- the script ---
    std::int32_t initResult = 0;
    std::int32_t uiResult = 0;
    // Each JVOpen takes the next outcome; when none is left, `defaultOpen`.
    std::deque<OpenOutcome> opens;
    OpenOutcome defaultOpen{0, 0, 0};
    QString lastFileTimestamp;
    // Each JVStatus takes the next value; when none is left it returns the
    // download count of the last JVOpen, so a progress dialog completes.
    std::deque<std::int32_t> statuses;
    // The stored-data reads, consumed by JVRead after JVOpen (and before any
    // JVRTOpen). When exhausted JVRead returns 0.
    std::deque<ReadStep> reads;
    // Real-time scripts per (request, key). JVRTOpen makes a copy of the key's
    // script the current read queue (a key requested twice plays twice); a key
    // without a script reads as empty (0). JVClose goes back to `reads`.
    std::map<std::pair<QString, QString>, std::deque<ReadStep>> realtime;
    std::int32_t rtOpenResult = 0;
    std::int32_t filedeleteResult = 0;

    void addRealtime(const QString& code, const QString& key, std::deque<ReadStep> steps) {
        realtime[{code, key}] = std::move(steps);
    }

    // --- what happened ---
    QStringList log;
    QStringList deletedFiles;
    int cancels = 0;
    int closes = 0;
    // Entries of `log` equal to `entry`.
    int count(const QString& entry) const { return int(log.count(entry)); }

    // --- JvLink ---
    std::int32_t JVInit(const QString& softwareId) override;
    std::int32_t JVSetUIProperties() override;
    std::int32_t JVOpen(const QString& dataSpec, const QString& fromTime, std::int32_t option,
                        std::int32_t& readCount, std::int32_t& downloadCount, QString& lastFileTimestamp) override;
    std::int32_t JVStatus() override;
    std::int32_t JVRead(QByteArray& buffer, std::int32_t& size, QString& fileName) override;
    std::int32_t JVFiledelete(const QString& fileName) override;
    std::int32_t JVRTOpen(const QString& dataSpec, const QString& key) override;
    std::int32_t JVCancel() override;
    std::int32_t JVClose() override;

private:
    std::int32_t lastDownloadCount_ = 0;
    bool realtimeMode_ = false;
    std::deque<ReadStep> realtimeReads_;
};

// Installs a JV-Link factory whose instances all forward to one shared
// ScriptedJvLink, so windows that create their own JVLink1 all play the same
// script. Restores the default factory when it goes.
class ScriptedJvLinkInstall {
public:
    ScriptedJvLinkInstall();
    ~ScriptedJvLinkInstall();
    ScriptedJvLinkInstall(const ScriptedJvLinkInstall&) = delete;
    ScriptedJvLinkInstall& operator=(const ScriptedJvLinkInstall&) = delete;

    ScriptedJvLink& link() { return *link_; }
    // How many JV-Link instances the factory handed out.
    int created() const { return *created_; }

private:
    std::shared_ptr<ScriptedJvLink> link_;
    std::shared_ptr<int> created_;
};

}  // namespace rwtest

// The scripted JV-Link's earlier spelling, rw::test, names the same helpers.
namespace rw {
namespace test = ::rwtest;
}  // namespace rw
