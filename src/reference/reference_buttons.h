#pragma once
// KESF1THISWEEKNZ: its buttons "過去予想成績" and "万馬券リスト" around the
// opening of KakoSeisekiZ and TekichuListZ: a start text in Text6, one turn
// of events, the window shown (its load runs inside), an end text.
#include "common/ui_port.h"

#include <functional>

namespace rw::reference {

void PastResultsButton(UiPort& ui, const std::function<void()>& showWindow);
void HitListButton(UiPort& ui, const std::function<void()>& showWindow);

}  // namespace rw::reference
