#pragma once
// The model package checks shared by start-up, ①, ② and ③: the presence of a
// package file, its date as text and the menu label that shows it.
#include "common/ui_port.h"

#include <QDateTime>
#include <QString>

namespace rw {

inline constexpr std::uint32_t kLabelGreen = 0x80FF80;  // red 128, green 255, blue 128

// "OPTION1N\KYOSOBA.dat" and "OPTION1N\STALLION.dat" under AppPath.
QString PackageHorseFile();
QString PackageSireFile();

// A file's modification date and time as the system shows it
// ("2024/06/29 9:05:01"); empty when the file is missing.
QString FileDateTimeText(const QString& path);
QString DateTimeText(const QDateTime& dt);

// Green label with the package date. The start-up and ③ add the hint about
// the support site; ② leaves it out.
void ShowPackageReady(UiPort& ui, const QString& dateTimeText, bool withSupportHint);

// The check ③ makes before it opens the expanded-records window: true when
// the package is there (the label shows its current date); false after the
// message when it is not, and the program must end.
bool CheckPackageBeforeExpansion(UiPort& ui);

}  // namespace rw
