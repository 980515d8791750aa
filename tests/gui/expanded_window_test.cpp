#include "common/kestrav_path.h"
#include "gui/KESTRAVEXPDTHISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "model/package_files.h"
#include "support/factor_package.h"
#include "support/test_support.h"
#include "support/window_press.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::gui;
using namespace rw::model;

namespace {

using rwtest::press;
using rwtest::closeWindow;

// A model whose item 1 has `categories` categories, for every surface.
void writeModels(const rwtest::AppFolder& app, int categories) {
    for (Surface s : kSurfaces) {
        QByteArray counts = QByteArray::number(categories) + QByteArray(",0").repeated(29);
        QByteArray codes, weights, samples;
        for (int j = 1; j <= categories; ++j) {
            codes += "\"" + QByteArray::number(2013 + j) + "     \",";
            weights += "60.5,";
            samples += "100,";
        }
        rwtest::writeModelFiles(app, s, {counts, codes, weights, weights, weights, samples});
    }
}

QString boxText(QWidget* window, const char* control) {
    auto* e = window->findChild<QLineEdit*>(QLatin1String(control));
    return e ? e->text() : QStringLiteral("<none>");
}
class ExpandedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* d : {"UMAGOTOEXTHISWEEKN", "UMAGOTOTHISWEEKN", "OPTION1N"})
            QDir().mkpath(app.file(QString::fromLatin1(d)));
        app.write(QStringLiteral("KETTONUMTHISWEEKN.dat"), "");
    }
    rwtest::AppFolder app;
};

TEST_F(ExpandedWindow, EveryControlCarriesItsCaption) {
    writeModels(app, 1);
    QPointer<KESTRAVEXPDTHISWEEKNZ> w = KESTRAVEXPDTHISWEEKNZ::open();
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("拡大構造体展開　Ver.2024.6.29Z"));
    const std::pair<const char*, const char*> captions[] = {
        {"Command3", "④　　　　　　　前日固定"},
        {"Command1", "⑤　計算(約１0分）"},
        {"Command2", "拡大構造体処理終了"},
        {"Text1", "Text1"},
        {"Text3", "Text3"},
        {"Text2", "Text2"},
        {"Label4", "拡大構造体にレース・騎手・繁殖馬・過去走の上がり･ペース･走破速度を組み込む"},
        {"Label2", "天候･馬場状態並びに馬体重が不明な場合、晴・良・前走馬体重、初440KGに設定"},
        {"Label1", ""},
    };
    for (auto [name, caption] : captions)
        EXPECT_EQ(Ui().text(QStringLiteral("KESTRAVEXPDTHISWEEKNZ.") + QLatin1String(name)), QString::fromUtf8(caption))
            << name;
    for (const char* bar : {"ProgressBar1", "ProgressBar3", "ProgressBar4"})
        EXPECT_NE(w->findChild<QProgressBar*>(QLatin1String(bar)), nullptr) << bar;
    EXPECT_EQ(w->State.TurfModel.CategoryCount[1], 1);
    EXPECT_EQ(w->State.JumpModel.code(1, 1), "2014     ");
    closeWindow(w);
    EXPECT_TRUE(w.isNull());
}

TEST_F(ExpandedWindow, TwoPressesGiveTwoWindowsWithTheirOwnModelsAndControls) {
    writeModels(app, 2);
    QPointer<KESTRAVEXPDTHISWEEKNZ> first = KESTRAVEXPDTHISWEEKNZ::open();
    writeModels(app, 5);
    QPointer<KESTRAVEXPDTHISWEEKNZ> second = KESTRAVEXPDTHISWEEKNZ::open();
    EXPECT_EQ(first->State.DirtModel.CategoryCount[1], 2);
    EXPECT_EQ(second->State.DirtModel.CategoryCount[1], 5);

    // A press in the older window writes into its own boxes.
    press(first, "Command3");
    EXPECT_EQ(boxText(first, "Text1"), QString::fromUtf8("前日固定終了"));
    EXPECT_EQ(boxText(second, "Text1"), QStringLiteral("Text1"));

    press(first, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    press(second, "Command1");
    EXPECT_EQ(boxText(second, "Text3"), QString::fromUtf8("計算終了"));
    EXPECT_EQ(second->State.DirtModel.CategoryCount[1], 5);
    closeWindow(second);
}

TEST_F(ExpandedWindow, AWindowOpensWhenItsModelFilesFail) {
    // One that cannot be opened is named with its reason, as a missing one.
    QDir().mkpath(app.file(ModelFiles(Surface::Dirt).totalData));
    testing::internal::CaptureStderr();
    QPointer<KESTRAVEXPDTHISWEEKNZ> w = KESTRAVEXPDTHISWEEKNZ::open();
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_NE(err.find("QA1SibaTotalData201401N2018.dat: missing"), std::string::npos);
    EXPECT_NE(err.find("QA1ShogTotalData201401N2018.dat: missing"), std::string::npos);
    EXPECT_NE(err.find("QA1DirtTotalData201401N2018.dat: not a regular file"), std::string::npos) << err;
    closeWindow(w);
}

TEST_F(ExpandedWindow, ClosingDuringTheComputePressWaitsForItsEnd) {
    writeModels(app, 1);
    QPointer<KESTRAVEXPDTHISWEEKNZ> w = KESTRAVEXPDTHISWEEKNZ::open();
    bool visibleAfterClose = false, pressed = false;
    // The press lets events through; the close button is clicked then.
    QTimer::singleShot(0, w, [&] {
        pressed = true;
        press(w, "Command2");
        visibleAfterClose = w->isVisible();
    });
    press(w, "Command1");
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(visibleAfterClose);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

}  // namespace
