#pragma once
// The JV-Link this program uses in place of the data service's component: it
// serves JV-Data from a folder on disk (our "server"), laid out as
//
//   <data folder>/<FOLDER>/*.jvd          stored data, FOLDER a 4-character folder code
//   <data folder>/0B30/<RaceKey16>.jvd  flash odds of one race
//   <data folder>/0B12/<YYYYMMDD>.jvd   flash race, entry and payoff records of one day
//
// A .jvd file is a run of JV-Data records in code page 932, each ending with
// CR LF (a trailing part without CR LF is a record too).
//
// The data folder is kept in "JVLINK.cfg" in the application folder (one
// line; relative paths are relative to the application folder; default
// "JVDATA"), so every application folder has its own.
#include "jvdata/jvlink.h"

#include <QStringList>
#include <string>
#include <vector>

namespace rw::jv {

// Results of the stand-in besides those of jvlink.h.
inline constexpr std::int32_t kJvBadSoftwareId = -101;  // JVInit with an empty identifier
inline constexpr std::int32_t kJvNotARequestFile = -102;  // JVFiledelete of a name not in the request
inline constexpr std::int32_t kJvBadDataSpec = -111;     // JVOpen / JVRTOpen with a malformed or unknown request code
inline constexpr std::int32_t kJvBadKey = -114;          // JVRTOpen key of the wrong form
inline constexpr std::int32_t kJvNoSuchData = -1;        // JVRTOpen: no file for the key
inline constexpr std::int32_t kJvSettingsFailed = -1;    // JVSetUIProperties

// The settings dialog, installed by the windows (none in window-less runs).
// Called with the current data folder (absolute, '/' separators, no trailing
// separator); it may change it. true: accepted or cancelled (cancel leaves the
// folder as it was); false: the dialog failed.
using JvLinkSettingsHook = std::function<bool(QString& dataFolder)>;
void setJvLinkSettingsHook(JvLinkSettingsHook hook);  // empty: none

// Settings of one application folder (with or without trailing separator).
QString jvLinkSettingsFile(const QString& appFolder);  // <app>/JVLINK.cfg
// The data folder in effect: absolute, '/' separators, trailing '/'.
QString jvLinkDataFolder(const QString& appFolder);
// Stores `folder` (absolute, or relative to the application folder; empty
// means the default); a folder inside the application folder is stored
// relative to it. false when the file cannot be written.
bool saveJvLinkDataFolder(const QString& appFolder, const QString& folder);

class FileJvLink : public JvLink {
public:
    explicit FileJvLink(QString appFolder);

    std::int32_t JVInit(const QString& softwareId) override;
    std::int32_t JVSetUIProperties() override;
    // Delivers the files of the request's 4-character folder codes in that order, each
    // folder's files in name order; read count = download count = files.
    std::int32_t JVOpen(const QString& dataSpec, const QString& fromTime, std::int32_t option,
                        std::int32_t& readCount, std::int32_t& downloadCount,
                        QString& lastFileTimestamp) override;
    // The files "downloaded" so far: every file of a stored request lies on
    // disk and is ready, so the first call after JVOpen serves them all
    // (a real download moves by as many files per poll as have arrived).
    std::int32_t JVStatus() override;
    // Records; -1 between files; -403 on reaching a damaged file (before any
    // of its records; fileName = its name); 0 after the last (-203 for 0B12).
    // `buffer` is emptied when no record is delivered.
    std::int32_t JVRead(QByteArray& buffer, std::int32_t& size, QString& fileName) override;
    // Does not touch the folder: marks the request's file as gone, so that a
    // JVOpen of the same request right after resumes behind it.
    std::int32_t JVFiledelete(const QString& fileName) override;
    std::int32_t JVRTOpen(const QString& dataSpec, const QString& key) override;
    std::int32_t JVCancel() override;
    std::int32_t JVClose() override;

private:
    struct Source {
        QString path;
        QString name;  // "<FOLDER>/<file>": unique within a request
        int part = 0;  // position of its folder code in the request
        QString file;  // the file's own name
    };
    // Into data_/records_; what makes the file damaged, or empty when sound.
    std::string loadFile(const QString& path);
    void startRequest();

    QString appFolder_;
    // The current (or last) request.
    QString request_;
    std::vector<Source> files_;
    bool storedRequest_ = false;  // files_ came from JVOpen (JVFiledelete applies)
    std::size_t reported_ = 0;    // the file whose name JVRead handed out last
    bool open_ = false;
    bool realtime_ = false;
    bool cancelled_ = false;
    std::int32_t endCode_ = kReadEnd;
    std::int32_t downloadCount_ = 0;
    std::int32_t status_ = 0;
    // Reading position: the file, whether it is loaded, and the next record.
    std::size_t fileIndex_ = 0;
    bool loaded_ = false;
    bool boundaryPending_ = false;
    QByteArray data_;
    std::vector<std::pair<qsizetype, qsizetype>> records_;  // offset, length
    std::size_t recordIndex_ = 0;
    // Set by JVFiledelete: the request, and the deleted file's place in it; the
    // next JVOpen of that request delivers only what lies behind that place,
    // whether or not the file is still there.
    QString resumeRequest_;
    int resumePart_ = -1;
    QString resumeFile_;
};

}  // namespace rw::jv
