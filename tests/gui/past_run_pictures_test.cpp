// Pictures of the tabs "因子" and "残差" and of the past-run window under the
// virtual X server, on the typical friday sample week after ⑥, each window
// checked for texts that its fonts would draw with the missing-glyph box.
// The pictures stay in build/pictures for a look.
#include "sample/generator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rw;

namespace {

TEST(PastRunPictures, FactorResidualAndPastRunWindowsUnderTheVirtualXServer) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
    QTemporaryDir dir;
    sample::generate({sample::Scale::Typical, sample::Scenario::Friday, 1}, dir.path());
    const QString pictures = QStringLiteral(RACEWEEK_BIN_DIR "/../pictures");
    QDir().mkpath(pictures);
    const QString factor = pictures + QStringLiteral("/viewer-factor.png");
    const QString residual = pictures + QStringLiteral("/viewer-residual.png");
    const QString kakoso = pictures + QStringLiteral("/kakoso.png");
    for (const QString& f : {factor, residual, kakoso}) QFile::remove(f);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    p.start(xvfb, {QStringLiteral("-a"),
                   QStringLiteral(RACEWEEK_BIN_DIR "/raceweek-press"),
                   QStringLiteral("--app-dir"),
                   dir.path(),
                   QStringLiteral("Command2"),
                   QStringLiteral("Command4"),
                   QStringLiteral("Command6"),
                   QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command3"),
                   QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command1"),
                   QStringLiteral("Command8"),
                   QStringLiteral("YOSOKEKKATHISWEEKNZ.List1=3"),
                   QStringLiteral("--picture"),
                   QStringLiteral("YOSOKEKKATHISWEEKNZ=") + factor,
                   QStringLiteral("--glyph-check"),
                   QStringLiteral("YOSOKEKKATHISWEEKNZ"),
                   QStringLiteral("YOSOKEKKATHISWEEKNZ.SSTab1=2"),
                   QStringLiteral("--picture"),
                   QStringLiteral("YOSOKEKKATHISWEEKNZ=") + residual,
                   QStringLiteral("YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1(2,6)"),
                   QStringLiteral("--picture"),
                   QStringLiteral("Kakoso=") + kakoso,
                   QStringLiteral("--glyph-check"),
                   QStringLiteral("Kakoso")});
    ASSERT_TRUE(p.waitForFinished(600000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    for (const QString& f : {factor, residual, kakoso}) EXPECT_GT(QFileInfo(f).size(), 10000) << f.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("MissingGlyph:"))) << out.toStdString();
    EXPECT_TRUE(
        out.contains(QRegularExpression(QStringLiteral("GlyphCheck: YOSOKEKKATHISWEEKNZ [1-9]\\d* texts, 0 missing"))));
    EXPECT_TRUE(out.contains(QRegularExpression(QStringLiteral("GlyphCheck: Kakoso [1-9]\\d* texts, 0 missing"))));
}

}  // namespace
