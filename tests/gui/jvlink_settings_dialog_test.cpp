#include "gui/install.h"
#include "gui/jvlink_settings_dialog.h"
#include "jvdata/jvlink_file.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rw;

TEST(JvLinkSettingsDialog, OkKeepsTheFolderTypedCancelAndAutoAcceptChangeNothing) {
    rwtest::AppFolder app;
    gui::installJvLinkSettingsDialog();
    jv::FileJvLink link(app.path());

    // Answers the dialog once it is up: types a folder, then OK or Cancel.
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->objectName(), QStringLiteral("JVLinkSettings"));
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("FolderEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setText(QStringLiteral("TYPED"));
            ok ? d->accept() : d->reject();
        });
    };
    answer(false);
    EXPECT_EQ(link.JVSetUIProperties(), 0);
    EXPECT_FALSE(app.exists("JVLINK.cfg"));
    answer(true);
    EXPECT_EQ(link.JVSetUIProperties(), 0);
    EXPECT_EQ(jv::jvLinkDataFolder(app.path()), app.path() + "TYPED/");

    gui::setJvLinkSettingsAutoAccept(true);
    EXPECT_EQ(link.JVSetUIProperties(), 0);  // nothing shown, nothing changed
    EXPECT_EQ(jv::jvLinkDataFolder(app.path()), app.path() + "TYPED/");
    gui::setJvLinkSettingsAutoAccept(false);
    jv::setJvLinkSettingsHook({});
}

TEST(QtTranslations, StandardButtonsSpeakJapanese) {
    gui::InstallQtTranslations();
    gui::InstallQtTranslations();  // once is enough; a second call changes nothing
    gui::JvLinkSettingsDialog dialog(QStringLiteral("/data"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("キャンセル"));
    QMessageBox box(QMessageBox::NoIcon, QString(), QStringLiteral("x"), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("キャンセル"));
}
