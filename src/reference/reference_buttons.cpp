#include "reference/reference_buttons.h"

#include "reference/past_days.h"

namespace rw::reference {
namespace {

void around(UiPort& ui, const char* start, const char* end, const std::function<void()>& showWindow) {
    const QString box = QString::fromLatin1(kStatusBox);
    ui.setText(box, QString::fromUtf8(start));
    ui.processEvents();
    showWindow();
    ui.setText(box, QString::fromUtf8(end));
}

}  // namespace

void PastResultsButton(UiPort& ui, const std::function<void()>& showWindow) {
    around(ui, "過去の予想成績を開始しました。しばらくお待ちください。。。。。。。", "過去の予想成績終了", showWindow);
}

void HitListButton(UiPort& ui, const std::function<void()>& showWindow) {
    around(ui, "過去の的中リストを開始しました。しばらくお待ちください。。。。。。。", "過去の的中リスト終了",
           showWindow);
}

}  // namespace rw::reference
