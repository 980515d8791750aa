#pragma once
// What the system asks of the desktop shell: start a program minimised (the
// self-extracting model package) and open a web page in the browser. The
// windows install the real handlers; tests install recording ones.
#include <QString>
#include <functional>

namespace rw {

// Starts `program` minimised without waiting for it; false when it cannot be
// started (the callers go on either way).
bool ShellStartMinimized(const QString& program);
// Opens `url` in the desktop's browser, maximised; false when it cannot.
bool ShellOpenUrl(const QString& url);

struct ShellHandlers {
    std::function<bool(const QString&)> startMinimized;
    std::function<bool(const QString&)> openUrl;
};
// Replaces the handlers; returns the previous ones.
ShellHandlers SetShellHandlers(ShellHandlers handlers);

}  // namespace rw
