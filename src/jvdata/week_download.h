#pragma once
// ① the week's download: one JV-Link request for the week's race, entry,
// horse, jockey and payoff records, stored as the five week files.
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"
#include "jvdata/layouts.h"
#include "jvdata/store_files.h"

#include <QString>
#include <cstdint>

namespace rw::jv {

// The five week files and their record lengths.
struct WeekFile {
    const char16_t* name;
    Kind kind;
};
inline constexpr WeekFile kWeekFiles[] = {{kRaWeekFile, Kind::RA},
                                          {kSeWeekFile, Kind::SE},
                                          {kUmWeekFile, Kind::UM},
                                          {kKsWeekFile, Kind::KS},
                                          {kHrWeekFile, Kind::HR}};

// The menu's state the download works on (public members of the menu).
struct DownloadState {
    std::int16_t DialogResult = 0;
    std::int32_t DownloadCount = 0;
};

// Runs the whole download as the menu's Command2 does. Skipped statements
// are recorded in `log`.
void DownloadThisWeek(UiPort& ui, JvLink& JVLink1, DownloadState& state, SkipLog& log);

}  // namespace rw::jv
