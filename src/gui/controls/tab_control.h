#pragma once
// The tab control: rows of tab buttons over a stack of pages, so that many
// tabs show at once (tabsPerRow buttons per row; 0 puts every tab in one
// row). A click on a tab, or setCurrentIndex, brings its page to the front
// and emits currentChanged. Tab heights are twips, as the windows give them.
#include <QWidget>

class QButtonGroup;
class QGridLayout;
class QStackedWidget;
class QToolButton;

namespace rw::gui {

class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr, int tabsPerRow = 0);

    // Adds a page (the control takes it) under a caption; returns its index
    // from 0.
    int addTab(QWidget* page, const QString& caption);
    // A new empty page under a caption, for controls placed on it.
    QWidget* addPage(const QString& caption);

    int count() const;
    QWidget* page(int index) const;
    QString tabText(int index) const;
    void setTabText(int index, const QString& caption);
    int currentIndex() const;
    // Brings tab `index` (from 0) to the front, as a click on it does;
    // false outside the tabs.
    bool setCurrentIndex(int index);

    void setTabsPerRow(int tabsPerRow);
    // Height of the tab buttons in twips (0: their natural height).
    void setTabHeight(int twips);

signals:
    void currentChanged(int index);

private:
    void placeButtons();

    int tabsPerRow_ = 0;
    int tabHeightTwips_ = 0;
    QGridLayout* buttons_ = nullptr;
    QButtonGroup* group_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QList<QToolButton*> tabs_;
};

}  // namespace rw::gui
