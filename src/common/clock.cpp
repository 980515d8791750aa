#include "common/clock.h"

namespace rw {
namespace {
QDate fixedToday;
}

QDate Today() { return fixedToday.isValid() ? fixedToday : QDate::currentDate(); }
void SetToday(QDate date) { fixedToday = date; }

}  // namespace rw
