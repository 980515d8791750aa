#pragma once
// The window-less driver's view of a control, as lines of text that tests
// and later checks read (keep the forms stable):
//   text box      WINDOW.CONTROL: text<TAB>#RRGGBB   (its back colour)
//   list box      WINDOW.CONTROL(n): item text        (n from 1), then
//                 WINDOW.CONTROL: selected n          (0: none)
//   grid          WINDOW.CONTROL(r,c): text[<TAB>#RRGGBB]
//                 row by row, each cell with a text or with a background
//                 other than white or standard; the colour only for such a
//                 background
//   tab control   WINDOW.CONTROL(k): caption          (k from 1), then
//                 WINDOW.CONTROL: front k
//   chart         WINDOW.CONTROL: line, one per line of ChartModel::describe
//                 (type and sizes, axis, series with label and colour,
//                 rows with label and values)
//   label, button WINDOW.CONTROL: text
// And the check that every text shown can be drawn by the fonts in use.
#include <QFont>
#include <QStringList>
#include <QWidget>

namespace rw::gui {

// The lines of `control`, addressed as `name` ("YOSOKEKKATHISWEEKNZ.Text1").
QStringList describeControl(QWidget* control, const QString& name);

// A grid's cells with both colours, for checks that must tell the
// standard colour from bright white and see text colours:
//   WINDOW.CONTROL(r,c): text<TAB>back B<TAB>fore F
// B and F are "standard" or #RRGGBB; every cell with a text or a colour
// other than standard, row by row. Empty for a control that is no grid.
QStringList describeGridColours(QWidget* control, const QString& name);

// A grid's layout as one line (empty for other controls):
//   WINDOW.CONTROL: rows R, cols C, fixed rows F, fixed cols G, widths W0 W1 …
// (twips, -1 for the standard width).
QStringList describeLayout(QWidget* control, const QString& name);

// The back colour last given to a control through the screen port, or its
// palette's base colour; 0xRRGGBB.
std::uint32_t backColorOf(const QWidget* control);

// Whether drawing `text` in `font` would show the missing-glyph box for
// some character: the glyph that text layout picks (after the font's
// fallbacks) is glyph 0 of its font. Line ends and blanks are not checked.
bool drawsMissingGlyph(const QFont& font, const QString& text);

// Every text a window shows (its caption, labels, buttons, text boxes, list
// items, tab captions, grid cells), each with the font it is drawn in and
// its address "WINDOW.CONTROL" or "WINDOW.CONTROL(r,c)".
struct ShownText {
    QString where;
    QString text;
    QFont font;
};
QList<ShownText> shownTexts(QWidget* window);

}  // namespace rw::gui
