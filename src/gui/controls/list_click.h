#pragma once
// A list box's Click event as the system has it: it runs when the selection
// moves to another item (mouse or keys) and when the item already selected
// is clicked again, once per click.
#include <QListWidget>
#include <functional>

namespace rw::gui {

// Calls `handler` at every Click of `list`.
void connectListClick(QListWidget* list, std::function<void()> handler);

// What a mouse click on item `row` (from 0) does, also for the window-less
// driver: the item is selected and the Click runs (also when it was already
// selected). False outside the list.
bool pressListItem(QListWidget* list, int row);

}  // namespace rw::gui
