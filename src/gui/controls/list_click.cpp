#include "gui/controls/list_click.h"

#include <QEvent>

namespace rw::gui {

namespace {
// Watches the list's mouse presses and keys: a move of the selection they
// make runs the Click at once; a click that leaves the selection where it
// was (a re-click) runs it at the item's click signal. A move the list makes
// by itself (the first item made current when it takes the focus) is no
// Click.
class ListClick : public QObject {
public:
    ListClick(QListWidget* list, std::function<void()> handler)
        : QObject(list), list_(list), handler_(std::move(handler)) {
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
        connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
            if (row >= 0 && armed_) handler_();
        });
        connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
            if (pressedRow_ >= 0 && list_->row(item) == pressedRow_) handler_();
            pressedRow_ = -1;
        });
    }
    // A click on `row`: the same order of events as the mouse gives.
    void press(int row) {
        pressedRow_ = list_->currentRow();
        armed_ = true;
        list_->setCurrentRow(row);
        emit list_->itemClicked(list_->item(row));
        armed_ = false;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pressedRow_ = list_->currentRow();
            armed_ = true;
            break;
        case QEvent::KeyPress: armed_ = true; break;
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        case QEvent::FocusIn: armed_ = false; break;
        default: break;
        }
        return false;
    }

private:
    QListWidget* list_;
    std::function<void()> handler_;
    int pressedRow_ = -1;
    bool armed_ = false;  // a mouse button or key of the user is down
};
}  // namespace

void connectListClick(QListWidget* list, std::function<void()> handler) { new ListClick(list, std::move(handler)); }

bool pressListItem(QListWidget* list, int row) {
    if (!list || row < 0 || row >= list->count()) return false;
    for (QObject* child : list->children())
        if (auto* click = dynamic_cast<ListClick*>(child)) {
            click->press(row);
            return true;
        }
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
    return true;
}

}  // namespace rw::gui
