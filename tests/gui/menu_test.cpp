#include "common/kestrav_path.h"
#include "common/shell.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <map>

using namespace rw;
using namespace rw::gui;

TEST(MenuWindow, EveryControlCarriesItsCaption) {
    rwtest::AppFolder app;
    KESF1THISWEEKNZ menu;
    EXPECT_EQ(menu.windowTitle(), QString::fromUtf8("DEDERIDU1 今週予想    Ver.2024.6.29Z (2014.1.4-2019.7.29　BASE)"));
    const std::pair<const char*, const char*> captions[] = {
        {"Command1", "設定"},
        {"Command14", "回収率・的中率の検証ブログ"},
        {"Command16", "最新予想因子ウエイトへの更新サイト"},
        {"Frame1", "今週の予想  (金曜12時以降）"},
        {"Command2", "①　　今週開催取得"},
        {"Command4", "②　構造・中止処理"},
        {"Command6", "③ 拡大構造体展開"},
        {"Label2", "今週の結果　(月曜14時以降）"},
        {"Text1", "Text1"},
        {"Text4", "Text4"},
        {"Label1", "Label1"},
        {"Frame3", "随時  (予想支援の参考として使用）"},
        {"Command11", "過去予想成績"},
        {"Command15", "万馬券リスト"},
        {"Command5", "芝予想因子ウエイト"},
        {"Command9", "ダート予想因子ウエイト"},
        {"Command10", "障害予想因子ウエイト"},
        {"Option1", " 中止処理を選択。通常は何もしないでください。"},
        {"Frame5", "予想"},
        {"Command8", "⑥　***　予想・結果　***"},
        {"Frame4", "速報　（予想・結果表示後使用）"},
        {"Command12", "Ⅰ　速報情報(一括）"},
        {"Text3", "Text3"},
        {"Command13", "Ⅳ　速報処理(一括）"},
        {"Frame2", "今週のオッズ （月曜14時以降）"},
        {"Command3", "今週オッズ取得"},
        {"Text2", "Text2"},
        {"Command7", "オッズ処理"},
        {"Label3", "　注：オッズ情報が必要であれば行う"},
        {"Text5", "Text5"},
        {"Text6", "Text6"},
    };
    for (auto [name, caption] : captions)
        EXPECT_EQ(Ui().text(QStringLiteral("KESF1THISWEEKNZ.") + QLatin1String(name)), QString::fromUtf8(caption))
            << name;
    EXPECT_NE(menu.findChild<QWidget*>(QStringLiteral("Picture1")), nullptr);
    // The label's initial light magenta.
    EXPECT_TRUE(menu.findChild<QLabel*>(QStringLiteral("Label1"))->styleSheet().contains(QStringLiteral("ff80ff")));
    // Frames hold their buttons.
    EXPECT_NE(menu.findChild<QGroupBox*>(QStringLiteral("Frame1"))->findChild<QAbstractButton*>(QStringLiteral("Command2")), nullptr);
    EXPECT_NE(menu.findChild<QGroupBox*>(QStringLiteral("Frame2"))->findChild<QLineEdit*>(QStringLiteral("Text2")), nullptr);
}

TEST(MenuWindow, SettingsFailureIsShownAndWebPagesOpen) {
    rwtest::AppFolder app;
    rwtest::ScriptedJvLinkInstall jv;
    jv.link().uiResult = -1;
    QStringList opened;
    auto was = SetShellHandlers({nullptr, [&](const QString& u) { opened << u; return true; }});
    KESF1THISWEEKNZ menu;
    Ui().autoAnswer = true;
    testing::internal::CaptureStdout();
    menu.findChild<QAbstractButton*>(QStringLiteral("Command1"))->click();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "MsgBox: エラーのためJV-Linkの設定に失敗しました。\n");
    menu.findChild<QAbstractButton*>(QStringLiteral("Command14"))->click();
    menu.findChild<QAbstractButton*>(QStringLiteral("Command16"))->click();
    EXPECT_EQ(opened, (QStringList{KESF1THISWEEKNZ::blogUrl(), KESF1THISWEEKNZ::supportUrl()}));
    SetShellHandlers(was);
}

namespace {

const char* kLongLabel =
    "予想因子ウエイトは展開されています。作成日は 2024/06/29 9:05:01 です。これより新しい日付の予想因子ウエイトがあれば"
    "展開して上書きして下さい。無ければそのまま続行して下さい。新しい日付のバージョンまたは最新因子ウエイトはサポート"
    "サイトよりダウンロードして下さい。";

// Where every button of the menu sits, after the layout has settled.
std::map<QString, QRect> buttonPlaces(QWidget& menu) {
    QApplication::processEvents();
    std::map<QString, QRect> places;
    for (auto* b : menu.findChildren<QAbstractButton*>())
        places[b->objectName()] = QRect(b->mapTo(&menu, QPoint(0, 0)), b->size());
    return places;
}

}  // namespace

TEST(MenuWindow, ButtonsKeepTheirPlaceWhateverTheLabelSays) {
    rwtest::AppFolder app;
    KESF1THISWEEKNZ menu;
    menu.show();
    const auto before = buttonPlaces(menu);
    ASSERT_EQ(before.size(), 17u);
    for (QString text : {QString::fromUtf8(kLongLabel), QString::fromUtf8(kLongLabel).left(60), QStringLiteral("x"),
                         QString::fromUtf8(kLongLabel).repeated(4)}) {
        Ui().setText(QStringLiteral("KESF1THISWEEKNZ.Label1"), text);
        EXPECT_EQ(buttonPlaces(menu), before) << text.size();
    }
}

TEST(MenuWindow, StatusBoxesShowTheStartOfALongText) {
    rwtest::AppFolder app;
    KESF1THISWEEKNZ menu;
    menu.show();
    const QString text = QString::fromUtf8("今週の結果は必ず前に今週の予想の3つの操作を行って下さい。").repeated(3);
    for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"}) {
        Ui().setText(QStringLiteral("KESF1THISWEEKNZ.") + QLatin1String(box), text);
        auto* edit = menu.findChild<QLineEdit*>(QLatin1String(box));
        ASSERT_NE(edit, nullptr) << box;
        QApplication::processEvents();
        EXPECT_EQ(edit->cursorPosition(), 0) << box;
        EXPECT_LT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 10) << box;  // the text is not scrolled to its end
    }
}
