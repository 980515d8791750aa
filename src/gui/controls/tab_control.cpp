#include "gui/controls/tab_control.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace rw::gui {

TabControl::TabControl(QWidget* parent, int tabsPerRow) : QWidget(parent), tabsPerRow_(tabsPerRow) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buttons_ = new QGridLayout;
    buttons_->setSpacing(0);
    buttons_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons_);
    stack_ = new QStackedWidget(this);
    stack_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(stack_, 1);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { setCurrentIndex(id); });
}

int TabControl::addTab(QWidget* page, const QString& caption) {
    const int index = int(tabs_.size());
    auto* button = new QToolButton(this);
    button->setText(caption);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setChecked(index == 0);
    group_->addButton(button, index);
    tabs_.append(button);
    stack_->addWidget(page);
    placeButtons();
    return index;
}

QWidget* TabControl::addPage(const QString& caption) {
    auto* page = new QWidget;
    addTab(page, caption);
    return page;
}

int TabControl::count() const { return int(tabs_.size()); }
QWidget* TabControl::page(int index) const { return stack_->widget(index); }
QString TabControl::tabText(int index) const {
    return index >= 0 && index < count() ? tabs_[index]->text() : QString();
}

void TabControl::setTabText(int index, const QString& caption) {
    if (index >= 0 && index < count()) tabs_[index]->setText(caption);
}

int TabControl::currentIndex() const { return stack_->currentIndex(); }

bool TabControl::setCurrentIndex(int index) {
    if (index < 0 || index >= count()) return false;
    tabs_[index]->setChecked(true);
    stack_->setCurrentIndex(index);
    emit currentChanged(index);
    return true;
}

void TabControl::setTabsPerRow(int tabsPerRow) {
    tabsPerRow_ = tabsPerRow;
    placeButtons();
}

void TabControl::setTabHeight(int twips) {
    tabHeightTwips_ = twips;
    placeButtons();
}

void TabControl::placeButtons() {
    for (QToolButton* b : tabs_) buttons_->removeWidget(b);
    const int perRow = tabsPerRow_ > 0 ? tabsPerRow_ : std::max(1, count());
    const int height = tabHeightTwips_ > 0 ? (tabHeightTwips_ * logicalDpiY() + 720) / 1440 : 0;
    for (int i = 0; i < count(); ++i) {
        if (height > 0) tabs_[i]->setFixedHeight(height);
        buttons_->addWidget(tabs_[i], i / perRow, i % perRow);
    }
}

}  // namespace rw::gui
