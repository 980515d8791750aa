#include "common/shell.h"

#include <QFileInfo>
#include <QProcess>
#include <cstdio>

namespace rw {
namespace {

bool defaultStart(const QString& program) {
    // A Windows self-extractor cannot run here; say so instead of failing
    // silently, and let the caller go on.
    if (!QFileInfo(program).isExecutable() || !QProcess::startDetached(program, {})) {
        std::fprintf(stderr, "cannot start %s\n", program.toLocal8Bit().constData());
        return false;
    }
    return true;
}

bool defaultOpen(const QString& url) { return QProcess::startDetached(QStringLiteral("xdg-open"), {url}); }

ShellHandlers& handlers() {
    static ShellHandlers h{defaultStart, defaultOpen};
    return h;
}

}  // namespace

bool ShellStartMinimized(const QString& program) {
    return handlers().startMinimized ? handlers().startMinimized(program) : false;
}

bool ShellOpenUrl(const QString& url) { return handlers().openUrl ? handlers().openUrl(url) : false; }

ShellHandlers SetShellHandlers(ShellHandlers h) {
    ShellHandlers old = handlers();
    if (!h.startMinimized) h.startMinimized = defaultStart;
    if (!h.openUrl) h.openUrl = defaultOpen;
    handlers() = std::move(h);
    return old;
}

}  // namespace rw
