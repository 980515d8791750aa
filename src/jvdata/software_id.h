#pragma once
// The software identifiers given to JVInit: a product part and a version
// date, "/"-separated. The variants differ from window to window.
#include <QString>

namespace rw::jv {

// The product's name alone with the newest version date (the week's download).
inline QString SidMenu() { return QStringLiteral("DEDERIDU1/20240629"); }
// The product's name followed by THISWEEKN, older version date (odds window,
// flash results).
inline QString SidThisWeek() { return QStringLiteral("DEDERIDU1THISWEEKN/20190729"); }
// The product's name alone, older version date (flash odds, cancellations).
inline QString SidFlash() { return QStringLiteral("DEDERIDU1/20190729"); }
// The trifecta odds download.
inline QString SidUnknown() { return QStringLiteral("UNKNOWN"); }

}  // namespace rw::jv
