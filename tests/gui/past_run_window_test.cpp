// The past-run window Kakoso and the clicks of the race viewer's factor and
// residual tables that open it: one instance without an owner, loaded only
// when it is not loaded.
#include "common/cp932.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "gui/Kakoso.h"
#include "gui/YOSOKEKKATHISWEEKNZ.h"
#include "gui/controls/grid_view.h"
#include "model/expanded_record.h"
#include "support/test_support.h"

#include <QDir>
#include <QPushButton>
#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;
namespace ex = rw::model::ex;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// A horse file of `runs` records whose race dates are 2024-01-01, -02 …
void writeHorse(const rwtest::AppFolder& app, const char* number, int runs) {
    QByteArray all;
    for (int k = 1; k <= runs; ++k) {
        QByteArray r(model::kExRecordLength, ' ');
        putFixed(r, ex::RaceYear.pos, 4, "2024");
        putFixed(r, ex::RaceMonthDay.pos, 4, QByteArray::number(100 + k).rightJustified(4, '0'));
        putFixed(r, ex::RegistrationNo.pos, 10, number);
        all += r;
    }
    app.write(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QLatin1String(number) + QStringLiteral("EX.dat"), all);
}

class PastRunWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(app.path()).mkpath(QStringLiteral("UMAGOTOEXTHISWEEKN"));
        writeHorse(app, "2020100001", 3);
        writeHorse(app, "2020100002", 5);
    }
    void TearDown() override {
        if (Kakoso::instance()) Kakoso::instance()->close();
        QApplication::processEvents();
    }
    QStringList horseFiles() const {
        return QDir(app.path() + QStringLiteral("UMAGOTOEXTHISWEEKN")).entryList(QDir::Files);
    }
    rwtest::AppFolder app;
};

TEST_F(PastRunWindow, CaptionPlaceAndSizes) {
    SelectedCellText = u("ホース           2020100001EX.dat");
    Kakoso* k = Kakoso::open();
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->windowTitle(), u("全過去走詳細  Ver.2024.6.29Z"));
    EXPECT_EQ(k->parentWidget(), nullptr);
    EXPECT_EQ(k->Command1->text(),
              u("別の競走馬の全過去走を表示させたい場合、一旦終了（ここをクリック）させて下さい。"));
    EXPECT_EQ(k->EXFG1Grid.rows(), 312);
    EXPECT_EQ(k->EXFG1Grid.cols(), 4);
    EXPECT_EQ(k->EXFG1Grid.text(4, 1), u("20240103"));
    EXPECT_EQ(k->EXFG1Grid.text(0, 3), u("前 2走"));
    const double dpi = k->logicalDpiX();
    // The designed width where the screen holds it; Qt's offscreen screen
    // is 800 wide, so the window fits that and its content scrolls.
    const double designed = 14100 * dpi / 1440, room = k->screen()->availableGeometry().width();
    if (designed <= room) EXPECT_NEAR(k->width(), designed, 1);
    else EXPECT_LE(k->width(), room);
    EXPECT_NEAR(k->Command1->x(), 480 * dpi / 1440, 1);
    EXPECT_NEAR(k->EXFG1->width(), 13335 * dpi / 1440, 1);
}

TEST_F(PastRunWindow, ASecondHorseWhileOpenOnlyBringsItToTheFront) {
    SelectedCellText = u("2020100001EX.dat");
    Kakoso* first = Kakoso::open();
    ASSERT_EQ(first->EXFG1Grid.cols(), 4);
    SelectedCellText = u("2020100002EX.dat");
    EXPECT_EQ(Kakoso::open(), first);
    EXPECT_EQ(first->EXFG1Grid.cols(), 4);
    // Closed by Command1, the next click loads the second horse.
    first->Command1->click();
    QApplication::processEvents();
    Kakoso* second = Kakoso::open();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->EXFG1Grid.cols(), 6);
    EXPECT_EQ(second->EXFG1Grid.text(4, 1), u("20240105"));
}

TEST_F(PastRunWindow, TheCloseBoxUnloadsItToo) {
    SelectedCellText = u("2020100001EX.dat");
    Kakoso::open()->close();
    QApplication::processEvents();
    EXPECT_EQ(Kakoso::instance(), nullptr);
    SelectedCellText = u("2020100002EX.dat");
    EXPECT_EQ(Kakoso::open()->EXFG1Grid.cols(), 6);
}

TEST_F(PastRunWindow, AnEmptyCellOrAJockeysCellLeavesNoFile) {
    const QStringList before = horseFiles();
    SelectedCellText = QString();
    Kakoso* k = Kakoso::open();
    EXPECT_EQ(k->EXFG1Grid.cols(), 2);
    EXPECT_EQ(k->EXFG1Grid.text(1, 0), QString());
    k->close();
    QApplication::processEvents();
    SelectedCellText = u("騎手一  ");
    k = Kakoso::open();
    EXPECT_EQ(k->EXFG1Grid.cols(), 1);
    EXPECT_EQ(k->EXFG1Grid.text(1, 0), u("レコードスペック"));
    EXPECT_EQ(horseFiles(), before);
}

TEST_F(PastRunWindow, TableClicksSetTheSelectedCellTextAndOpenTheWindow) {
    auto* viewer = new YOSOKEKKATHISWEEKNZ;
    viewer->Viewer.RACEDETAILGrid1.setText(3, 6, u("ホース           2020100002EX.dat"));
    viewer->Viewer.RACEDETAILGrid1.setText(3, 13, u("騎手一  "));
    viewer->Viewer.RACEDETAILGrid2.setText(2, 5, u("ホース           2020100001EX.dat"));
    ASSERT_TRUE(viewer->RACEDETAILGrid1->pressCell(3, 6));
    EXPECT_EQ(SelectedCellText, u("ホース           2020100002EX.dat"));
    ASSERT_NE(Kakoso::instance(), nullptr);
    EXPECT_EQ(Kakoso::instance()->EXFG1Grid.cols(), 6);
    // While open, another cell changes the text but not the window.
    ASSERT_TRUE(viewer->RACEDETAILGrid1->pressCell(3, 13));
    EXPECT_EQ(SelectedCellText, u("騎手一  "));
    EXPECT_EQ(Kakoso::instance()->EXFG1Grid.cols(), 6);
    Kakoso::instance()->close();
    QApplication::processEvents();
    ASSERT_TRUE(viewer->RACEDETAILGrid2->pressCell(2, 5));
    EXPECT_EQ(Kakoso::instance()->EXFG1Grid.cols(), 4);
    // The window outlives the prediction window.
    delete viewer;
    QApplication::processEvents();
    ASSERT_NE(Kakoso::instance(), nullptr);
    EXPECT_TRUE(Kakoso::instance()->isVisible());
}

}  // namespace
