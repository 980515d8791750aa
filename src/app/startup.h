#pragma once
// The menu's load: the working folders, the model package check and its age,
// the flash files of the previous run, the reminder. It never stops: a step
// that fails is skipped.
#include "common/skip.h"
#include "common/ui_port.h"

#include <QStringList>

namespace rw {

// The 19 working and output folders, in the order they are created.
const QStringList& WorkingFolders();
// The flash files the start-up deletes, in order.
const QStringList& FlashFiles();

void MenuStartup(UiPort& ui, SkipLog& log);

// Whole days from the date part of a package file's date to today, as the
// start-up computes the package's age; throws StepFailure when it cannot.
std::int16_t PackageAgeDays(const QString& path);

}  // namespace rw
