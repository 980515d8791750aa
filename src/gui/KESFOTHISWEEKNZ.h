#pragma once
// The odds window: the week's odds downloads and JV-Link's settings. Single
// instance, opened by the menu's "今週オッズ取得".
#include "jvdata/jvlink.h"
#include "jvdata/odds_download.h"

#include <QWidget>
#include <memory>

namespace rw::gui {

class KESFOTHISWEEKNZ : public QWidget {
    Q_OBJECT
public:
    KESFOTHISWEEKNZ();
    void Form_Load();

    // Public members the progress dialog works on: OddsDialogResult and
    // OddsDownloadCount.
    jv::OddsDownloadState Download;
    std::unique_ptr<jv::JvLink> JVLink1;

    // The menu's press: shows the one instance (loading it when new).
    static KESFOTHISWEEKNZ* open();
    static KESFOTHISWEEKNZ* instance();
    static QString title();

private:
    void Command2_Click();
    void Command3_Click();
};

}  // namespace rw::gui
