// The race viewer on the typical sample weeks through the window-less
// driver: the road ① ② ③ ④ ⑤, the odds, ⑥ and the flash results, then a
// click on a race with flash payoffs (yellow header, flash payouts, hits
// coloured) and on one without (green); on Monday's official results the
// week's payoffs in green, the dead heat's two quinellas included, with or
// without cancellation processing; every tab pictured under a virtual X
// server, with no Japanese text drawn as the missing-glyph box.
#include "common/record_file.h"
#include "common/text_file.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rw;

namespace {

const QStringList kRoad = {"Command2",
                           "Command4",
                           "Command6",
                           "KESTRAVEXPDTHISWEEKNZ.Command3",
                           "KESTRAVEXPDTHISWEEKNZ.Command1",
                           "Command3",
                           "KESFOTHISWEEKNZ.Command2",
                           "KESFOTHISWEEKNZ.Command3",
                           "Command7",
                           "Command8"};
// The flash results are deleted at every start, so they are fetched again
// after ⑥ in the run that clicks.
const QStringList kFlash = {"Command12", "KESP2RIALTIME.Command2", "KESHRRIALTIME.Command1"};
const QString kWindow = QStringLiteral("YOSOKEKKATHISWEEKNZ");

struct Week {
    QTemporaryDir dir;
    sample::Summary summary;
    QString file(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }
    QList<QByteArray> listed() const { return readValues(file(QStringLiteral("RACETHISWEEKN.dat"))); }
    // The races of the flash payoffs the data folder delivers.
    QSet<QByteArray> flashPaid() const {
        QSet<QByteArray> ids;
        for (const QByteArray& r : rwtest::storedRecords(dir.path(), QStringLiteral("0B12")))
            if (r.startsWith("HR")) ids.insert(r.mid(11, 8) + r.mid(19, 2) + r.mid(25, 2));
        return ids;
    }
};

// The road; with cancellation processing (option 1) the week's cancelled
// race leaves the race records, so on Monday no race card stays pending.
std::unique_ptr<Week> roadWeek(sample::Scenario scenario, bool cancellation = false) {
    auto w = std::make_unique<Week>();
    w->summary = sample::generate({sample::Scale::Typical, scenario, 1}, w->dir.path());
    const rwtest::PressResult r = rwtest::runPress(
        w->dir.path(), (cancellation ? QStringList{QStringLiteral("--option1")} : QStringList()) + kRoad);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
    return w;
}

QStringList printing(std::initializer_list<const char*> controls) {
    QStringList args;
    for (const char* c : controls) args << QStringLiteral("--print") << kWindow + QLatin1Char('.') + QLatin1String(c);
    return args;
}

// The --print line of a control (the pressed window's text boxes come
// first, without their colour).
QString printed(const rwtest::PressResult& r, const QString& control) {
    QString found;
    for (const QString& l : r.out.split(QLatin1Char('\n')))
        if (l.startsWith(control + QStringLiteral(": "))) found = l.mid(control.size() + 2);
    return found;
}

QString click(int item) { return kWindow + QStringLiteral(".List1=") + QString::number(item); }

}  // namespace

TEST(ViewerEndToEnd, FridayClicksShowFlashPayoffsInYellowAndNoneInGreen) {
    const auto w = roadWeek(sample::Scenario::Friday);
    const QList<QByteArray> listed = w->listed();
    const QSet<QByteArray> paid = w->flashPaid();
    int withFlash = 0, without = 0;
    for (int i = 0; i < listed.size(); ++i) {
        if (!withFlash && paid.contains(listed[i])) withFlash = i + 1;
        if (!without && !paid.contains(listed[i])) without = i + 1;
    }
    ASSERT_GT(withFlash, 0);
    ASSERT_GT(without, 0);
    const QByteArray id = listed[withFlash - 1];

    const rwtest::PressResult yellow =
        rwtest::runPress(w->dir.path(), printing({"Text1", "HAITOGrid1", "UMARENGrid1", "SANTANGrid4"}) +
                                            QStringList{"Command8"} + kFlash + QStringList{click(withFlash)});
    ASSERT_EQ(yellow.exitCode, 0) << yellow.err.toStdString();
    const QString text1 = printed(yellow, kWindow + QStringLiteral(".Text1"));
    EXPECT_TRUE(text1.endsWith(QStringLiteral("\t#FFFF00"))) << text1.toStdString();
    EXPECT_TRUE(text1.contains(QString::fromLatin1(id))) << text1.toStdString();
    // The payout grid shows the flash payoff record's win entry.
    QByteArray hr;
    for (const QByteArray& r : RecordFile::readAll(w->file(QStringLiteral("HRRIALTIME.dat")), 719))
        if (r.mid(11, 8) + r.mid(19, 2) + r.mid(25, 2) == id) hr = r;
    ASSERT_FALSE(hr.isEmpty());
    EXPECT_EQ(yellow.line(kWindow + QStringLiteral(".HAITOGrid1(1,1)")), QString::fromLatin1(hr.mid(102, 2)));
    EXPECT_EQ(yellow.line(kWindow + QStringLiteral(".HAITOGrid1(1,2)")), QString::number(hr.mid(104, 9).toLongLong()));
    // The paid quinella is green in the 馬連 grid, with its odds beside it.
    const QByteArray quinella = hr.mid(245, 4);
    const QString paidCell = QStringLiteral(": ") + QString::fromLatin1(quinella.left(2)) + QLatin1Char('-') +
                             QString::fromLatin1(quinella.mid(2)) + QStringLiteral("\t#00FF00");
    EXPECT_TRUE(yellow.out.contains(paidCell)) << paidCell.toStdString();
    EXPECT_EQ(readLines(w->file(QStringLiteral("RACETHISWEEKN.dat"))).size(), listed.size());

    const rwtest::PressResult green = rwtest::runPress(
        w->dir.path(), printing({"Text1"}) + QStringList{"Command8"} + kFlash + QStringList{click(without)});
    ASSERT_EQ(green.exitCode, 0) << green.err.toStdString();
    const QString header = printed(green, kWindow + QStringLiteral(".Text1"));
    EXPECT_TRUE(header.endsWith(QStringLiteral("\t#00FF00"))) << header.toStdString();
    EXPECT_TRUE(header.contains(QString::fromLatin1(listed[without - 1])));
}

TEST(ViewerEndToEnd, MondayShowsTheWeeksOfficialPayoutsOfTheDeadHeatInGreen) {
    const auto w = roadWeek(sample::Scenario::Monday, /*cancellation=*/true);
    QByteArray deadHeat;
    for (const sample::WeekRace& r : w->summary.weekRaces)
        if (r.deadHeat && !r.cancelled) deadHeat = r.raceId;
    ASSERT_FALSE(deadHeat.isEmpty());
    // ⑥ lists the races in results mode; the list box holds them in the same order.
    const int item = int(w->listed().indexOf(deadHeat)) + 1;
    ASSERT_GT(item, 0);
    const rwtest::PressResult r =
        rwtest::runPress(w->dir.path(), printing({"Text1", "HAITOGrid1"}) + QStringList{"Command8", click(item)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString header = printed(r, kWindow + QStringLiteral(".Text1"));
    EXPECT_TRUE(header.contains(QString::fromLatin1(deadHeat)));
    EXPECT_TRUE(header.endsWith(QStringLiteral("\t#00FF00"))) << header.toStdString();
    // Every race is official: the race list file ends up empty.
    EXPECT_TRUE(readLines(w->file(QStringLiteral("RACETHISWEEKN.dat"))).isEmpty());
    QByteArray hr;
    for (const QByteArray& rec : RecordFile::readAll(w->file(QStringLiteral("HRTHISWEEKN.dat")), 719))
        if (rec.mid(11, 8) + rec.mid(19, 2) + rec.mid(25, 2) == deadHeat) hr = rec;
    ASSERT_FALSE(hr.isEmpty());
    // Two horses share second place: two quinellas and two exactas.
    for (int e = 0; e < 2; ++e) {
        const QByteArray q = hr.mid(245 + 16 * e, 4);
        EXPECT_EQ(r.line(kWindow + QStringLiteral(".HAITOGrid1(4,%1)").arg(3 * e + 1)),
                  QString::fromLatin1(q.left(2)) + QLatin1Char('-') + QString::fromLatin1(q.mid(2)));
        const QByteArray x = hr.mid(453 + 16 * e, 4);
        EXPECT_EQ(r.line(kWindow + QStringLiteral(".HAITOGrid1(6,%1)").arg(3 * e + 1)),
                  QString::fromLatin1(x.left(2)) + QStringLiteral("→") + QString::fromLatin1(x.mid(2)));
    }
}

TEST(ViewerEndToEnd, MondayWithoutCancellationProcessingShowsRaceOnesOfficialPayouts) {
    // The stored records know the cancelled race, so no race stays pending
    // and the viewer reads the week's official payoffs.
    const auto w = rwtest::PressedRoadWeek(sample::Scale::Typical, sample::Scenario::Monday);
    ASSERT_EQ(w->road.exitCode, 0) << w->road.err.toStdString();
    const QList<QByteArray> listed = w->listed();
    ASSERT_FALSE(listed.isEmpty());
    const QByteArray id = listed[0];
    const rwtest::PressResult r = w->press(printing({"Text1", "HAITOGrid1"}) + QStringList{"Command8", click(1)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString header = printed(r, kWindow + QStringLiteral(".Text1"));
    EXPECT_TRUE(header.contains(QString::fromLatin1(id))) << header.toStdString();
    EXPECT_TRUE(header.endsWith(QStringLiteral("\t#00FF00"))) << header.toStdString();
    EXPECT_TRUE(readLines(w->file(QStringLiteral("RACETHISWEEKN.dat"))).isEmpty()) << "no race is pending";
    QByteArray hr;
    for (const QByteArray& rec : RecordFile::readAll(w->file(QStringLiteral("HRTHISWEEKN.dat")), 719))
        if (rec.mid(11, 8) + rec.mid(19, 2) + rec.mid(25, 2) == id) hr = rec;
    ASSERT_FALSE(hr.isEmpty());
    EXPECT_EQ(hr[2], '2') << "an official payoff record";
    // The win entry and its payout, as the payoff record has them.
    EXPECT_EQ(r.line(kWindow + QStringLiteral(".HAITOGrid1(1,1)")), QString::fromLatin1(hr.mid(102, 2)));
    EXPECT_EQ(r.line(kWindow + QStringLiteral(".HAITOGrid1(1,2)")), QString::number(hr.mid(104, 9).toLongLong()));
}

TEST(ViewerEndToEnd, EveryTabPicturedUnderAVirtualXServerWithoutMissingGlyphs) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed (Debian package xvfb)";
    const auto w = roadWeek(sample::Scenario::Friday);
    const QString pictures = w->file(QStringLiteral("pictures"));
    QDir().mkpath(pictures);
    QStringList args = {QStringLiteral("-a"),
                        QStringLiteral("-s"),
                        QStringLiteral("-screen 0 1600x1000x24"),
                        QStringLiteral("env"),
                        QStringLiteral("QT_QPA_PLATFORM=xcb"),
                        QStringLiteral(RACEWEEK_BIN_DIR "/raceweek-press"),
                        QStringLiteral("--app-dir"),
                        w->dir.path(),
                        QStringLiteral("Command8")};
    args += kFlash;
    args << click(1);
    for (int tab = 1; tab <= 7; ++tab)
        args << kWindow + QStringLiteral(".SSTab1=%1").arg(tab) << QStringLiteral("--picture")
             << kWindow + QStringLiteral("=%1/tab%2.png").arg(pictures).arg(tab);
    args << QStringLiteral("--glyph-check") << kWindow;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(xvfb, args);
    ASSERT_TRUE(p.waitForFinished(600000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError());
    ASSERT_EQ(p.exitCode(), 0) << err.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("MissingGlyph:"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("GlyphCheck: YOSOKEKKATHISWEEKNZ "))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral(", 0 missing"))) << out.toStdString();
    for (int tab = 1; tab <= 7; ++tab) {
        const QImage img(pictures + QStringLiteral("/tab%1.png").arg(tab));
        EXPECT_FALSE(img.isNull()) << tab;
        EXPECT_GT(img.width(), 600) << tab;
    }
    // Kept for a look: RACEWEEK_PICTURES names a folder to copy them to.
    const QString keep = qEnvironmentVariable("RACEWEEK_PICTURES");
    if (!keep.isEmpty()) {
        QDir().mkpath(keep);
        for (int tab = 1; tab <= 7; ++tab) {
            const QString name = QStringLiteral("/tab%1.png").arg(tab);
            QFile::remove(keep + name);
            QFile::copy(pictures + name, keep + name);
        }
    }
}
