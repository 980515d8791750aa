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
#include "gui/controls/control_print.h"
#include "gui/controls/grid_view.h"
#include "gui/controls/list_click.h"
#include "gui/controls/tab_control.h"
#include "gui/gui_ui.h"
#include "gui/install.h"

#include <QAbstractButton>
#include <QCollator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPointer>
#include <QHash>
#include <QRegularExpression>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <utility>

#include <sys/resource.h>
#include <cstring>

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: raceweek-press --app-dir DIR [--option1] [--today YYYY-MM-DD] [--print WINDOW.CONTROL]...\n"
                 "                      [--layout WINDOW.GRID]... [--step-times] STEP...\n"
                 "  STEP, in order:\n"
                 "    CONTROL or WINDOW.CONTROL   a click on a button (the menu's own: Command2)\n"
                 "    WINDOW.CONTROL=N            on a list box a click on item N (from 1), also on the item\n"
                 "                                already selected; on a tab control tab N (from 1) to the front\n"
                 "    WINDOW.GRID(R,C)            a click on cell R, C (from 0) of a grid: a normal cell becomes\n"
                 "                                current, a fixed one does not; the grid's handler runs\n"
                 "                                (YOSOKEKKATHISWEEKNZ.RACEDETAILGrid1(2,6) opens Kakoso;\n"
                 "                                Kakoso.Command1 closes it)\n"
                 "    --picture WINDOW=FILE.png   a picture of the window as it shows now\n"
                 "    --close WINDOW              the window closed, as its close box does\n"
                 "    --glyph-check WINDOW        every text the window shows, checked against the fonts in\n"
                 "                                use: a line 'MissingGlyph: WHERE: text' per text that would\n"
                 "                                be drawn with the missing-glyph box, then\n"
                 "                                'GlyphCheck: WINDOW N texts, M missing'\n"
                 "  After the steps: the text boxes of every window a step reached ('WINDOW.Text1: text'),\n"
                 "  then each --print control in order:\n"
                 "    text box     WINDOW.CONTROL: text<TAB>#RRGGBB (its back colour)\n"
                 "    list box     WINDOW.CONTROL(n): item, one line per item, then WINDOW.CONTROL: selected n\n"
                 "    grid         WINDOW.CONTROL(r,c): text[<TAB>#RRGGBB], row by row, every cell with a text\n"
                 "                 or a background other than white or standard (the colour shown only then)\n"
                 "    tab control  WINDOW.CONTROL(k): caption, then WINDOW.CONTROL: front k\n"
                 "    chart        WINDOW.CONTROL: type line2d, rows R, series S / axis MIN to MAX in D divisions\n"
                 "                 (fixed|auto) / series N \"label\" #RRGGBB / row N \"label\": v1, v2, ...\n"
                 "    label        WINDOW.CONTROL: text\n"
                 "    window       WINDOW: caption (--print Kakoso)\n"
                 "    grid given as WINDOW.CONTROL/colours: WINDOW.CONTROL(r,c): text<TAB>back B<TAB>fore F,\n"
                 "                 every cell with a text or a colour other than standard; B and F are\n"
                 "                 'standard' (the grid's own colour) or #RRGGBB (bright white is #FFFFFF)\n"
                 "  each --layout grid: WINDOW.CONTROL: rows R, cols C, fixed rows F, fixed cols G, widths W0 W1 ...\n"
                 "                 (twips, -1 for the standard width)\n"
                 "  then the menu's status boxes (Text1: ... Label1: ...).\n"
                 "  --step-times: after each step a line 'StepTime: STEP<TAB>elapsed<TAB>processor<TAB>peak<TAB>\n"
                 "  resident' (seconds; the process's peak memory so far and its memory now, kB) on stderr, and\n"
                 "  at the end 'PeakMemory: kB', for the road benchmark\n"
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

double elapsedSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double processorSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The process's peak and present resident memory in kB, from the kernel's
// own account of this program's image; 0 where there is none.
std::pair<long, long> residentMemoryKb() {
    long peak = 0, now = 0;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            if (!std::strncmp(line, "VmHWM:", 6)) peak = std::strtol(line + 6, nullptr, 10);
            else if (!std::strncmp(line, "VmRSS:", 6)) now = std::strtol(line + 6, nullptr, 10);
        }
        std::fclose(f);
    }
    return {peak, now};
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
        QList<QWidget*> boxes;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (qobject_cast<QLineEdit*>(c) || qobject_cast<QPlainTextEdit*>(c)) boxes.append(c);
        QCollator natural;
        natural.setNumericMode(true);
        std::sort(boxes.begin(), boxes.end(),
                  [&](QWidget* a, QWidget* b) { return natural.compare(a->objectName(), b->objectName()) < 0; });
        for (QWidget* box : boxes)
            if (!box->objectName().isEmpty()) {
                const QString name = window + QLatin1Char('.') + box->objectName();
                print(qPrintable(name), rw::gui::Ui().text(name));
            }
    }
}

void print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// A picture of a window as it shows now; false when it cannot be saved.
bool savePicture(const QString& what) {
    const QString window = what.section(QLatin1Char('='), 0, 0);
    const QString file = what.section(QLatin1Char('='), 1);
    QWidget* w = rw::gui::Ui().findWindow(window);
    if (!w || file.isEmpty()) return false;
    rw::gui::Ui().repaints().flush();  // the picture shows the last values
    QCoreApplication::processEvents();
    if (!w->grab().save(file, "PNG")) return false;
    print(QStringLiteral("Picture: %1 %2").arg(window, file));
    return true;
}

bool glyphCheck(const QString& window) {
    QWidget* w = rw::gui::Ui().findWindow(window);
    if (!w) return false;
    const QList<rw::gui::ShownText> texts = rw::gui::shownTexts(w);
    QHash<QString, bool> seen;  // text + font -> missing
    int missing = 0;
    for (const rw::gui::ShownText& t : texts) {
        const QString key = t.font.key() + QLatin1Char('\x1f') + t.text;
        auto it = seen.find(key);
        if (it == seen.end()) it = seen.insert(key, rw::gui::drawsMissingGlyph(t.font, t.text));
        if (!*it) continue;
        ++missing;
        print(QStringLiteral("MissingGlyph: %1: %2").arg(t.where, t.text));
    }
    print(QStringLiteral("GlyphCheck: %1 %2 texts, %3 missing").arg(window).arg(texts.size()).arg(missing));
    return true;
}

// One step of the sequence; false (with a message) when it names nothing
// that can be pressed.
bool runStep(const QString& press) {
    auto& ui = rw::gui::Ui();
    auto fails = [&] {
        std::fprintf(stderr, "raceweek-press: unknown control %s\n", qPrintable(press));
        return false;
    };
    if (press.startsWith(QLatin1String("--picture "))) return savePicture(press.mid(10)) || fails();
    if (press.startsWith(QLatin1String("--glyph-check "))) return glyphCheck(press.mid(14)) || fails();
    if (press.startsWith(QLatin1String("--close "))) {
        QWidget* w = ui.findWindow(press.mid(8));
        return (w && w->close()) || fails();
    }
    static const QRegularExpression cell(QStringLiteral("^(.+)\\((\\d+),(\\d+)\\)$"));
    static const QRegularExpression item(QStringLiteral("^(.+)=(\\d+)$"));
    if (const auto m = cell.match(press); m.hasMatch()) {
        auto* grid = qobject_cast<rw::gui::GridView*>(ui.findControl(m.captured(1)));
        return (grid && grid->pressCell(m.captured(2).toInt(), m.captured(3).toInt())) || fails();
    }
    if (const auto m = item.match(press); m.hasMatch()) {
        QWidget* w = ui.findControl(m.captured(1));
        const int n = m.captured(2).toInt();
        if (auto* list = qobject_cast<QListWidget*>(w)) return rw::gui::pressListItem(list, n - 1) || fails();
        if (auto* tabs = qobject_cast<rw::gui::TabControl*>(w)) return tabs->setCurrentIndex(n - 1) || fails();
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            if (n < 1 || n > tabs->count()) return fails();
            tabs->setCurrentIndex(n - 1);
            return true;
        }
        return fails();
    }
    const QString name = press.contains(QLatin1Char('.')) ? press : rw::ctl::MenuWindow + QLatin1Char('.') + press;
    QWidget* w = ui.findControl(name);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->click();
        return true;
    }
    if (w && QMetaObject::invokeMethod(w, "click")) return true;
    return fails();
}

}  // namespace

int main(int argc, char** argv) {
    QString appDir;
    QDate today;
    bool option1 = false;
    bool stepTimes = false;
    QStringList presses;
    QStringList printed;
    QStringList laidOut;  // grids whose layout is printed
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
        } else if (!std::strcmp(a, "--step-times")) {
            stepTimes = true;
        } else if (!std::strcmp(a, "--option1")) {
            option1 = true;
        } else if (!std::strcmp(a, "--print") && i + 1 < argc) {
            printed.append(QString::fromLatin1(argv[++i]));
        } else if (!std::strcmp(a, "--layout") && i + 1 < argc) {
            laidOut.append(QString::fromLatin1(argv[++i]));
        } else if ((!std::strcmp(a, "--picture") || !std::strcmp(a, "--glyph-check") || !std::strcmp(a, "--close")) &&
                   i + 1 < argc) {
            // Kept in the sequence: taken at this point of the steps.
            presses.append(QString::fromLatin1(a) + QLatin1Char(' ') + QString::fromLocal8Bit(argv[++i]));
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
    long peakSeen = 0;  // kB
    for (const QString& press : presses) {
        const double t0 = elapsedSeconds(), c0 = processorSeconds();
        if (!runStep(press)) {
            status = 2;
            break;
        }
        app.processEvents();
        if (stepTimes) {
            const double elapsed = elapsedSeconds() - t0, processor = processorSeconds() - c0;
            const auto [peak, now] = residentMemoryKb();
            peakSeen = std::max(peakSeen, peak);
            std::fprintf(stderr, "StepTime: %s\t%.6f\t%.6f\t%ld\t%ld\n", qPrintable(press), elapsed, processor, peak, now);
        }
    }

    printPressedWindows(presses);
    for (QString control : printed) {
        const bool colours = control.endsWith(QLatin1String("/colours"));
        if (colours) control.chop(8);
        QWidget* w = ui.findControl(control);
        if (!w) {
            std::fprintf(stderr, "raceweek-press: unknown control %s\n", qPrintable(control));
            status = 2;
            continue;
        }
        const QStringList lines =
            colours ? rw::gui::describeGridColours(w, control) : rw::gui::describeControl(w, control);
        for (const QString& line : lines) print(line);
    }
    for (const QString& control : laidOut) {
        const QStringList lines = rw::gui::describeLayout(ui.findControl(control), control);
        if (lines.isEmpty()) {
            std::fprintf(stderr, "raceweek-press: no grid %s\n", qPrintable(control));
            status = 2;
        }
        for (const QString& line : lines) print(line);
    }
    printStatus();
    // The windows still open go before the application does, as when the
    // program is closed; child windows go with their owners, the menu with
    // this function.
    QList<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget() && w != &menu) open.append(w);
    for (const QPointer<QWidget>& w : open) delete w.data();
    // The kernel's peak lags its resident count at times: the largest seen.
    if (stepTimes) std::fprintf(stderr, "PeakMemory: %ld\n", std::max(peakSeen, residentMemoryKb().first));
    return status;
}
