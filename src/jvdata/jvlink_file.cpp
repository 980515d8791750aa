#include "jvdata/jvlink_file.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/paths.h"
#include "jvdata/layouts.h"
#include "jvdata/records.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <cstdio>
#include <string>
#include <utility>

namespace rw::jv {

namespace {

JvLinkSettingsHook& settingsHook() {
    static JvLinkSettingsHook h;
    return h;
}

const QString kDefaultFolder = QStringLiteral("JVDATA");

QString withSlash(QString folder) {
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

QString cleanAbsolute(const QString& appFolder, QString folder) {
    folder = nativeName(folder.trimmed());
    if (folder.isEmpty()) folder = kDefaultFolder;
    if (QDir::isRelativePath(folder)) folder = withSlash(appFolder) + folder;
    return QDir::cleanPath(folder);
}

bool isFolderCode(QStringView s) {
    if (s.size() != 4) return false;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z'))) return false;
    }
    return true;
}

bool allDigits(const QString& s, qsizetype n) { return s.size() == n && isDigits(s.toLatin1(), n); }

// No JV-Data record is longer than a trifecta odds record.
constexpr qsizetype kLongestRecord = 83285;

// A record of a kind the system reads must have its kind's published length;
// what is wrong with it otherwise.
std::string recordFault(QByteArrayView record) {
    const auto kind = kindOf(record);
    if (!kind || record.size() == layout(*kind).length) return {};
    return "is a " + std::string(layout(*kind).code.data(), 2) + " record of " + std::to_string(record.size()) +
           " bytes; that kind has " + std::to_string(layout(*kind).length);
}

// A file that lies inside the data folder, not reached through a link.
bool insideFolder(const QString& path, const QString& folder) {
    const QFileInfo fi(path);
    if (fi.isSymLink() || !fi.isFile()) return false;
    const QString canonical = fi.canonicalFilePath();
    QString root = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || root.isEmpty()) return false;
    if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
    return canonical.startsWith(root);
}

}  // namespace

void setJvLinkSettingsHook(JvLinkSettingsHook hook) { settingsHook() = std::move(hook); }

QString jvLinkSettingsFile(const QString& appFolder) {
    return withSlash(appFolder) + QStringLiteral("JVLINK.cfg");
}

QString jvLinkDataFolder(const QString& appFolder) {
    // The first line, of at most 4095 bytes; a settings file that cannot be
    // read (missing, or no regular file) leaves the default folder.
    QString stored;
    QByteArray bytes;
    bool read = false;
    try {
        read = ReadWholeFile(jvLinkSettingsFile(appFolder), bytes);
    } catch (const StepFailure&) {
        read = false;  // not a regular file, or not readable: no setting
    }
    if (read) {
        const qsizetype end = bytes.indexOf('\n');
        QByteArray line = bytes.left(std::min<qsizetype>(end < 0 ? bytes.size() : end + 1, 4095));
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        stored = cp932::decode(line);
    }
    return withSlash(cleanAbsolute(appFolder, stored));
}

bool saveJvLinkDataFolder(const QString& appFolder, const QString& folder) {
    const QString app = QDir::cleanPath(QDir::fromNativeSeparators(appFolder));
    QString absolute = cleanAbsolute(appFolder, folder);
    QString stored = absolute;
    if (absolute == app) {
        stored = QStringLiteral(".");
    } else if (absolute.startsWith(app + QLatin1Char('/'))) {
        stored = absolute.mid(app.size() + 1);
    }
    try {
        ReplaceFile(jvLinkSettingsFile(appFolder), cp932::encode(stored) + "\r\n");
    } catch (const StepFailure&) {
        return false;
    }
    return true;
}

FileJvLink::FileJvLink(QString appFolder) : appFolder_(withSlash(std::move(appFolder))) {}

std::int32_t FileJvLink::JVInit(const QString& softwareId) {
    return softwareId.isEmpty() ? kJvBadSoftwareId : 0;
}

std::int32_t FileJvLink::JVSetUIProperties() {
    const JvLinkSettingsHook& hook = settingsHook();
    if (!hook) return kJvSettingsFailed;
    QString current = jvLinkDataFolder(appFolder_);
    current.chop(1);
    QString chosen = current;
    if (!hook(chosen)) return kJvSettingsFailed;
    if (cleanAbsolute(appFolder_, chosen) == current) return 0;
    return saveJvLinkDataFolder(appFolder_, chosen) ? 0 : kJvSettingsFailed;
}

std::int32_t FileJvLink::JVOpen(const QString& dataSpec, const QString& /*fromTime*/, std::int32_t /*option*/,
                                std::int32_t& readCount, std::int32_t& downloadCount,
                                QString& lastFileTimestamp) {
    const QString resumeRequest = std::exchange(resumeRequest_, QString());
    const int resumePart = std::exchange(resumePart_, -1);
    const QString resumeFile = std::exchange(resumeFile_, QString());
    startRequest();
    open_ = false;
    readCount = 0;
    downloadCount = 0;
    lastFileTimestamp.clear();
    if (dataSpec.isEmpty() || dataSpec.size() % 4 != 0) return kJvBadDataSpec;
    QStringList parts;
    for (qsizetype i = 0; i < dataSpec.size(); i += 4) {
        const QString part = dataSpec.mid(i, 4);
        if (!isFolderCode(part)) return kJvBadDataSpec;
        if (!parts.contains(part)) parts << part;
    }

    const QString folder = jvLinkDataFolder(appFolder_);
    for (int p = 0; p < int(parts.size()); ++p) {
        const QString& part = parts[p];
        QDir dir(folder + part);
        if (!dir.exists() || QFileInfo(folder + part).isSymLink()) continue;
        QStringList names = dir.entryList({QStringLiteral("*.jvd")}, QDir::Files | QDir::NoSymLinks, QDir::NoSort);
        std::sort(names.begin(), names.end());
        for (const QString& n : names) {
            // Behind a deleted file only: nothing is delivered twice, and a
            // file that appeared before it meanwhile is not slipped in.
            if (resumeRequest == dataSpec && (p < resumePart || (p == resumePart && n <= resumeFile))) continue;
            if (insideFolder(dir.filePath(n), folder)) files_.push_back({dir.filePath(n), part + QLatin1Char('/') + n, p, n});
        }
    }

    request_ = dataSpec;
    open_ = true;
    storedRequest_ = true;
    downloadCount_ = std::int32_t(files_.size());
    readCount = downloadCount_;
    downloadCount = downloadCount_;
    return 0;
}

std::int32_t FileJvLink::JVStatus() {
    if (open_ && !realtime_ && !cancelled_) status_ = downloadCount_;
    return status_;
}

void FileJvLink::startRequest() {
    JVClose();
    files_.clear();
    storedRequest_ = false;
    reported_ = 0;
    resumeRequest_.clear();
    resumePart_ = -1;
    resumeFile_.clear();
    open_ = true;
}

namespace {
// data.indexOf("\r\n", from), by the library's byte search: a file holds
// tens of megabytes of records.
qsizetype lineEndFrom(const QByteArray& data, qsizetype from) {
    const char* p = data.constData();
    const qsizetype n = data.size();
    while (from < n) {
        const void* cr = std::memchr(p + from, '\r', size_t(n - from));
        if (!cr) return -1;
        const qsizetype at = static_cast<const char*>(cr) - p;
        if (at + 1 < n && p[at + 1] == '\n') return at;
        from = at + 1;
    }
    return -1;
}
}  // namespace

std::string FileJvLink::loadFile(const QString& path) {
    data_.clear();
    records_.clear();
    recordIndex_ = 0;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "it cannot be opened: " + f.errorString().toStdString();
    data_ = f.readAll();
    if (f.error() != QFileDevice::NoError) return "it cannot be read: " + f.errorString().toStdString();
    auto where = [](std::size_t n, qsizetype offset) {
        return "record " + std::to_string(n) + " (from byte " + std::to_string(offset) + ") ";
    };
    qsizetype start = 0;
    while (start < data_.size()) {
        qsizetype end = lineEndFrom(data_, start);
        end = end < 0 ? data_.size() : end + 2;
        if (end - start > kLongestRecord)
            return where(records_.size() + 1, start) + "is " + std::to_string(end - start) +
                   " bytes long, longer than any JV-Data record (" + std::to_string(kLongestRecord) + ")";
        records_.emplace_back(start, end - start);
        start = end;
    }
    // Real-time data is delivered as it is; the callers have no way to
    // recover from a damaged real-time file. Its records still end in CR LF:
    // a file with other line ends holds no record.
    if (realtime_) {
        for (std::size_t i = 0; i < records_.size(); ++i) {
            const auto [offset, length] = records_[i];
            if (!QByteArrayView(data_).sliced(offset, length).endsWith("\r\n"))
                return where(i + 1, offset) + "does not end in CR LF";
        }
        return {};
    }
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const auto [offset, length] = records_[i];
        if (std::string fault = recordFault(QByteArrayView(data_).sliced(offset, length)); !fault.empty())
            return where(i + 1, offset) + fault;
    }
    return {};
}

std::int32_t FileJvLink::JVRead(QByteArray& buffer, std::int32_t& /*size*/, QString& fileName) {
    buffer.clear();
    fileName.clear();
    if (!open_ || cancelled_) return endCode_;
    while (fileIndex_ < files_.size()) {
        const Source& src = files_[fileIndex_];
        reported_ = fileIndex_;
        if (boundaryPending_) {
            boundaryPending_ = false;
            fileName = src.name;
            return kReadNextFile;
        }
        if (!loaded_) {
            loaded_ = true;
            if (const std::string fault = loadFile(src.path); !fault.empty()) {
                // Reported once; a caller that reads on goes on with the next file.
                std::fprintf(stderr, "JV-Link: %s is reported as damaged (%s)\n", qPrintable(src.path),
                             fault.c_str());
                fileName = src.name;
                data_.clear();
                records_.clear();
                ++fileIndex_;
                loaded_ = false;
                return kReadDamaged403;
            }
        }
        if (recordIndex_ < records_.size()) {
            const auto [offset, length] = records_[recordIndex_++];
            buffer = data_.mid(offset, length);
            fileName = src.name;
            return std::int32_t(length);
        }
        // This file is done.
        ++fileIndex_;
        loaded_ = false;
        data_.clear();
        records_.clear();
        if (!realtime_ && fileIndex_ < files_.size()) boundaryPending_ = true;
    }
    return endCode_;
}

std::int32_t FileJvLink::JVFiledelete(const QString& fileName) {
    if (!storedRequest_ || fileName.isEmpty()) return kJvNotARequestFile;
    // The file JVRead named last (the damaged one) first; otherwise the first
    // of that name in the request.
    std::size_t at = files_.size();
    if (reported_ < files_.size() && files_[reported_].name == fileName) {
        at = reported_;
    } else {
        for (std::size_t i = 0; i < files_.size() && at == files_.size(); ++i)
            if (files_[i].name == fileName) at = i;
    }
    if (at == files_.size()) return kJvNotARequestFile;
    resumeRequest_ = request_;
    resumePart_ = files_[at].part;
    resumeFile_ = files_[at].file;
    return 0;
}

std::int32_t FileJvLink::JVRTOpen(const QString& dataSpec, const QString& key) {
    startRequest();
    realtime_ = true;
    request_ = dataSpec;
    qsizetype keyLength = 0;
    if (dataSpec == QStringLiteral("0B30")) {
        endCode_ = kReadEnd;
        keyLength = 16;
    } else if (dataSpec == QStringLiteral("0B12")) {
        endCode_ = kReadRealtimeEnd;
        keyLength = 8;
    } else {
        return kJvBadDataSpec;
    }
    if (!allDigits(key, keyLength)) return kJvBadKey;
    const QString path = jvLinkDataFolder(appFolder_) + dataSpec + QLatin1Char('/') + key + QStringLiteral(".jvd");
    if (!insideFolder(path, jvLinkDataFolder(appFolder_) + dataSpec)) return kJvNoSuchData;
    files_.push_back({path, dataSpec + QLatin1Char('/') + key + QStringLiteral(".jvd"), 0, key + QStringLiteral(".jvd")});
    return 0;
}

std::int32_t FileJvLink::JVCancel() {
    cancelled_ = true;
    return 0;
}

std::int32_t FileJvLink::JVClose() {
    // The file list stays for a JVFiledelete after the close.
    open_ = false;
    realtime_ = false;
    cancelled_ = false;
    endCode_ = kReadEnd;
    downloadCount_ = 0;
    status_ = 0;
    fileIndex_ = 0;
    loaded_ = false;
    boundaryPending_ = false;
    data_.clear();
    records_.clear();
    recordIndex_ = 0;
    return 0;
}

}  // namespace rw::jv
