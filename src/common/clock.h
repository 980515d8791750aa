#pragma once
// Today's date, which the system uses once: for the age of the model package.
// Tests and the window-less driver set it.
#include <QDate>

namespace rw {

QDate Today();
// An invalid date goes back to the system clock.
void SetToday(QDate date);

}  // namespace rw
