#pragma once
// The race-day scan and the hit list's day search as their loops stand:
// every one of the 1,562,400 candidate names tried in turn, newest date
// first. The plain reference the folder-listing finder is held against.
#include "support/recording_ui.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace rwtest {

struct LiteralDayScan {
    QStringList items;          // List1
    QByteArray dayList;         // "TEKICHU\RACEIDYMDLKN.txt"
    QList<QByteArray> lupKeys;  // the DayKeys whose "lupRCM.txt" opened, in the loops' order
};

// Runs both loops over "TEKICHU" of the current application folder,
// writing the search texts into `ui` (the hit list's loop also turns events
// once per date, into `hitUi`).
LiteralDayScan literalDayScan(rw::RecordingUi& ui, rw::RecordingUi& hitUi);

}  // namespace rwtest
