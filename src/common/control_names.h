#pragma once
// The addresses ("WINDOW.CONTROL") through which core code reaches the
// screen (UiPort). Each is spelled here once; the windows map them to their
// widgets. Add a window's controls here when its core task first needs them.
#include <QString>

namespace rw::ctl {

// The menu KESF1THISWEEKNZ: status boxes and the package label.
inline const QString MenuWindow = QStringLiteral("KESF1THISWEEKNZ");
inline const QString MenuText1 = QStringLiteral("KESF1THISWEEKNZ.Text1");  // download
inline const QString MenuText2 = QStringLiteral("KESF1THISWEEKNZ.Text2");  // odds, start-up reminder
inline const QString MenuText3 = QStringLiteral("KESF1THISWEEKNZ.Text3");  // flash odds
inline const QString MenuText4 = QStringLiteral("KESF1THISWEEKNZ.Text4");  // structure processing
inline const QString MenuText5 = QStringLiteral("KESF1THISWEEKNZ.Text5");  // predictions
inline const QString MenuText6 = QStringLiteral("KESF1THISWEEKNZ.Text6");  // past performance, hit list
inline const QString MenuLabel1 = QStringLiteral("KESF1THISWEEKNZ.Label1");

// The download progress dialog.
inline const QString ProgressWindow = QStringLiteral("KESF2THISWEEKNZ");
inline const QString ProgressBar1 = QStringLiteral("KESF2THISWEEKNZ.ProgressBar1");
inline const QString ProgressLabel1 = QStringLiteral("KESF2THISWEEKNZ.Label1");

// Structure processing and cancellation processing.
inline const QString KouzouText1 = QStringLiteral("KOUZOUTAIZ.Text1");
inline const QString CancelText1 = QStringLiteral("CHUSIRIALTIME.Text1");

// The odds window and the flash window.
inline const QString OddsWindow = QStringLiteral("KESFOTHISWEEKNZ");
inline const QString OddsText1 = QStringLiteral("KESFOTHISWEEKNZ.Text1");
inline const QString FlashText1 = QStringLiteral("KESP2RIALTIME.Text1");

// The expanded-records window (a new one at every press of ③; a window's
// own presses reach its own controls).
inline const QString ExpandedWindow = QStringLiteral("KESTRAVEXPDTHISWEEKNZ");
inline const QString ExpandedText1 = QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Text1");  // ④'s end message
inline const QString ExpandedText3 = QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Text3");  // ⑤'s messages
inline const QString ExpandedProgressBar1 = QStringLiteral("KESTRAVEXPDTHISWEEKNZ.ProgressBar1");
inline const QString ExpandedProgressBar3 = QStringLiteral("KESTRAVEXPDTHISWEEKNZ.ProgressBar3");
inline const QString ExpandedProgressBar4 = QStringLiteral("KESTRAVEXPDTHISWEEKNZ.ProgressBar4");

// The prediction window (the run ⑥, then the race viewer).
inline const QString PredictionWindow = QStringLiteral("YOSOKEKKATHISWEEKNZ");
inline const QString PredictionList1 = QStringLiteral("YOSOKEKKATHISWEEKNZ.List1");
inline const QString PredictionText1 = QStringLiteral("YOSOKEKKATHISWEEKNZ.Text1");  // the race viewer's header

}  // namespace rw::ctl
