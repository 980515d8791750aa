#pragma once
// JV-Link, the data-access component of the data service, as the system uses
// it. Every window that talks to it owns one instance (its JVLink1).
//
// Records are handed over as their code page 932 bytes, so the parsers cut
// bytes without any conversion.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace rw::jv {

class JvLink {
public:
    virtual ~JvLink() = default;

    // 0 on success.
    virtual std::int32_t JVInit(const QString& softwareId) = 0;
    // Shows the component's own settings dialog; 0 when accepted or
    // cancelled, -1 on failure.
    virtual std::int32_t JVSetUIProperties() = 0;
    // Stored data. Negative: error. readCount: files to read (0: no data);
    // downloadCount: files still to fetch.
    virtual std::int32_t JVOpen(const QString& dataSpec, const QString& fromTime, std::int32_t option,
                                std::int32_t& readCount, std::int32_t& downloadCount,
                                QString& lastFileTimestamp) = 0;
    // Files fetched so far; negative on failure.
    virtual std::int32_t JVStatus() = 0;
    // Above 0: one record in `buffer` (its length). 0: end of the data.
    // -1: the next file follows. -402/-403: damaged file. -203: end of the
    // real-time data. Other negatives: errors. What `buffer` holds when no
    // record is delivered is the component's (the file-backed one empties
    // it); callers that look at it then must cope with either.
    virtual std::int32_t JVRead(QByteArray& buffer, std::int32_t& size, QString& fileName) = 0;
    // Drops a damaged file (the name of the read that reported it), so that
    // the same JVOpen after JVClose goes on behind it.
    virtual std::int32_t JVFiledelete(const QString& fileName) = 0;
    // Real-time data ("0B30" + RaceKey16, "0B12" + race date).
    virtual std::int32_t JVRTOpen(const QString& dataSpec, const QString& key) = 0;
    virtual std::int32_t JVCancel() = 0;
    virtual std::int32_t JVClose() = 0;
};

// Every window creates its JVLink1 through this factory. By default it gives
// the file-backed component of the application folder; tests put their own
// in its place.
using JvLinkFactory = std::function<std::unique_ptr<JvLink>()>;
std::unique_ptr<JvLink> createJvLink();
void setJvLinkFactory(JvLinkFactory factory);  // empty: back to the default

// The read buffer the callers prepare: 128000 NUL bytes.
inline constexpr std::int32_t kReadBufferSize = 128000;

// Codes the callers react to.
inline constexpr std::int32_t kReadNextFile = -1;
inline constexpr std::int32_t kReadEnd = 0;
inline constexpr std::int32_t kReadRealtimeEnd = -203;
inline constexpr std::int32_t kReadDamaged402 = -402;
inline constexpr std::int32_t kReadDamaged403 = -403;

}  // namespace rw::jv
