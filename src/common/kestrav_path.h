#pragma once
// The program-wide globals and the application folder.
#include <QString>
#include <cstdint>

namespace rw {

// The application folder with one trailing separator; set by every window
// that touches files from GetAppPath(). Never changes during a run.
extern QString AppPath;
// Which odds files the odds-table window converts: 0 this week's, 1 flash.
extern std::int16_t OddsSourceFlag;
// The runner cell last clicked in the race viewer.
extern QString SelectedCellText;

// The running program's folder with exactly one trailing separator, cached
// after the first call.
QString GetAppPath();
// The folder GetAppPath reports instead of the program's own (the
// window-less driver and tests run the system on a given application
// folder). Clears the cache.
void SetProgramFolder(const QString& folder);

// AppPath + a relative name in the system's form ("RACE\" + id + ".dat").
QString AppFile(QStringView systemName);

}  // namespace rw
