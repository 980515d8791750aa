// raceweek-press: runs the menu on an application folder without showing
// windows and presses controls as a user would, through the same handlers.
// Message boxes are answered OK and printed; at the end the menu's status
// boxes and label are printed, after the text boxes of the other windows
// that were pressed.
#include "common/clock.h"
#include "common/control_names.h"
#include "common/kestrav_path.h"
#include "common/shell.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "gui/install.h"

#include <QAbstractButton>
#include <QCollator>
#include <QLineEdit>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMetaObject>
#include <cstdio>
#include <algorithm>
#include <cstring>

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: raceweek-press --app-dir DIR [--option1] [--today YYYY-MM-DD] PRESS...\n"
                 "  PRESS is a control of the menu (Command2) or WINDOW.CONTROL of another open window\n"
                 "       raceweek-press --display-check\n"
                 "  exits 0 when windows can be shown on the display the environment names, 1 otherwise\n");
}

// Whether a window-showing program would reach a display: Qt tries the
// platform the environment asks for (or the desktop's own) and falls back
// to the offscreen one instead of aborting when no display server answers.
int displayCheck(int argc, char** argv) {
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) platforms = qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? "xcb" : "wayland;xcb";
    if (platforms.contains("offscreen") || platforms.contains("minimal")) return 1;
    qputenv("QT_QPA_PLATFORM", platforms + ";offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);
    const QString used = QGuiApplication::platformName();
    std::printf("display: %s\n", qPrintable(used));
    return used == QLatin1String("offscreen") ? 1 : 0;
}

void print(const char* tag, const QString& text) {
    std::printf("%s: %s\n", tag, text.toUtf8().constData());
    std::fflush(stdout);
}

// The offscreen platform's remarks about window sizes and runtime folders
// say nothing about the system; everything else goes to stderr as usual.
void quietMessages(QtMsgType type, const QMessageLogContext& ctx, const QString& msg) {
    if (msg.contains(QLatin1String("propagateSizeHints")) || msg.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, ctx, msg)));
}

// The text boxes of every window other than the menu that a press reached,
// in the order the windows were first pressed, each box by its natural name
// order: "KESTRAVEXPDTHISWEEKNZ.Text1: text".
void printPressedWindows(const QStringList& presses) {
    QStringList windows;
    for (const QString& p : presses) {
        const QString window = p.section(QLatin1Char('.'), 0, 0);
        if (!p.contains(QLatin1Char('.')) || p.startsWith(QLatin1Char('-')) || window == QLatin1String("KESF1THISWEEKNZ") ||
            windows.contains(window))
            continue;
        windows.append(window);
    }
    for (const QString& window : windows) {
        QWidget* w = rw::gui::Ui().findWindow(window);
        if (!w) continue;
        QList<QLineEdit*> boxes = w->findChildren<QLineEdit*>();
        QCollator natural;
        natural.setNumericMode(true);
        std::sort(boxes.begin(), boxes.end(),
                  [&](QLineEdit* a, QLineEdit* b) { return natural.compare(a->objectName(), b->objectName()) < 0; });
        for (QLineEdit* box : boxes)
            if (!box->objectName().isEmpty())
                print(qPrintable(window + QLatin1Char('.') + box->objectName()), box->text());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QString appDir;
    QDate today;
    bool option1 = false;
    QStringList presses;
    if (argc == 2 && !std::strcmp(argv[1], "--display-check")) return displayCheck(argc, argv);
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--app-dir") && i + 1 < argc) {
            appDir = QString::fromLocal8Bit(argv[++i]);
        } else if (!std::strcmp(a, "--today") && i + 1 < argc) {
            today = QDate::fromString(QString::fromLatin1(argv[++i]), QStringLiteral("yyyy-MM-dd"));
            if (!today.isValid()) {
                std::fprintf(stderr, "raceweek-press: bad date %s\n", argv[i]);
                return 2;
            }
        } else if (!std::strcmp(a, "--option1")) {
            option1 = true;
        } else if (a[0] == '-') {
            usage();
            return 2;
        } else {
            presses.append(QString::fromLatin1(a));
        }
    }
    if (appDir.isEmpty()) {
        usage();
        return 2;
    }
    if (!QDir().mkpath(appDir)) {
        std::fprintf(stderr, "raceweek-press: cannot create %s\n", qPrintable(appDir));
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    rw::SetProgramFolder(appDir);
    if (today.isValid()) rw::SetToday(today);
    rw::gui::InstallDesktopHandlers(/*interactive=*/false);
    rw::ShellHandlers shell;
    shell.startMinimized = [](const QString& p) {
        print("Shell", p);
        return false;
    };
    shell.openUrl = [](const QString& u) {
        print("Browser", u);
        return true;
    };
    rw::SetShellHandlers(shell);
    auto& ui = rw::gui::Ui();
    ui.autoAnswer = true;

    auto printStatus = [] {
        for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Label1"})
            print(box, rw::gui::Ui().text(rw::ctl::MenuWindow + QLatin1Char('.') + QLatin1String(box)));
    };
    // A press that ends the program still reports what the menu shows.
    rw::gui::SetEndProgramHandler(printStatus);

    rw::gui::KESF1THISWEEKNZ menu;
    menu.Form_Load();
    menu.show();
    if (option1) menu.setOption1(true);
    app.processEvents();

    int status = 0;
    for (const QString& press : presses) {
        const QString name = press.contains(QLatin1Char('.')) ? press : rw::ctl::MenuWindow + QLatin1Char('.') + press;
        QWidget* w = ui.findControl(name);
        bool pressed = false;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->click();
            pressed = true;
        } else if (w) {
            pressed = QMetaObject::invokeMethod(w, "click");
        }
        if (!pressed) {
            std::fprintf(stderr, "raceweek-press: unknown control %s\n", qPrintable(press));
            status = 2;
            break;
        }
        app.processEvents();
    }

    printPressedWindows(presses);
    printStatus();
    return status;
}
