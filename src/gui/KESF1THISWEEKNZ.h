#pragma once
// The menu window: the system's start-up object and only command surface.
#include "common/skip.h"
#include "jvdata/jvlink.h"
#include "jvdata/week_download.h"

#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <memory>

class QPushButton;
class QRadioButton;
class QLineEdit;

namespace rw::gui {

// A picture that can be clicked (the menu's Picture1).
class ClickablePicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    Q_INVOKABLE void click() { emit clicked(); }
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent*) override { click(); }
};

class KESF1THISWEEKNZ : public QWidget {
    Q_OBJECT
public:
    KESF1THISWEEKNZ();
    ~KESF1THISWEEKNZ() override;

    // The start-up; runs before the window is first shown.
    void Form_Load();

    // Public members other windows reach through the menu's one instance.
    std::int16_t ZansaFlag = 1;
    jv::DownloadState Download;  // DialogResult, DownloadCount
    std::unique_ptr<jv::JvLink> JVLink1;

    static QString title();
    static KESF1THISWEEKNZ* instance();

    // The product's two web pages.
    static QString blogUrl() { return QStringLiteral("https://raceweek.example/blog"); }
    static QString supportUrl() { return QStringLiteral("https://raceweek.example/support"); }

    bool option1() const;
    void setOption1(bool on);

private:
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command6_Click();
    void Command3_Click();
    void Command5_Click();
    void Command9_Click();
    void Command10_Click();
    void Command7_Click();
    void Command8_Click();
    void Command12_Click();
    void Command13_Click();
    void Command11_Click();
    void Command15_Click();
    void Command14_Click();
    void Command16_Click();
    void Picture1_Click();

    using Handler = void (KESF1THISWEEKNZ::*)();
    // A button named `name` with its caption, its press connected to
    // `handler` (none for a button not built yet).
    QPushButton* button(const char* name, const char* caption, Handler handler = nullptr);
    QLineEdit* statusBox(const char* name);

    QRadioButton* Option1 = nullptr;
};

}  // namespace rw::gui
