#pragma once
// Windows with a single instance: the one instance is created, loaded and
// shown on first use; while it is open a further press only brings it to
// the front and its load does not run again; once the user has closed it,
// the next press loads a new one. The windows delete themselves on close,
// so what they must keep beyond that lives outside them.
#include <QPointer>
#include <QWidget>

namespace rw::gui {

// True while the window's load runs. A load that lets events through can
// see its own button pressed again; that press is ignored, so a second load
// never starts under the first nor deletes the window still loading.
template <class W>
bool& singleInstanceLoading() {
    static bool loading = false;
    return loading;
}

template <class W, class Load>
W* showSingleInstance(QPointer<W>& instance, Load&& load) {
    if (singleInstanceLoading<W>()) return nullptr;
    if (instance && instance->isVisible()) {
        instance->raise();
        instance->activateWindow();
        return instance;
    }
    // Closed but not yet deleted: it goes, a new one comes.
    if (instance) instance->deleteLater();
    instance = new W;
    instance->setAttribute(Qt::WA_DeleteOnClose);
    struct Loading {
        Loading() { singleInstanceLoading<W>() = true; }
        ~Loading() { singleInstanceLoading<W>() = false; }
    } loading;
    load(*instance);  // the load runs inside the show, before the window appears
    if (instance) instance->show();
    return instance;
}

template <class W>
W* showSingleInstance(QPointer<W>& instance) {
    return showSingleInstance(instance, [](W&) {});
}

}  // namespace rw::gui
