#pragma once
// The load of the odds-table window KESTRAVODDSN: turns the odds line files
// of this week (OddsSourceFlag 0) or of the flash odds (1) into one OddsCube
// per race and ticket kind in KAIME, read by the race viewer:
//   "KAIME\" + RaceID + kind word + "ODDS.dat", one value per line (CR LF),
//   the cell of horses a, b, c on line 1 + 361a + 19b + c (6859 lines), of
//   horses a, b on line 1 + 19a + b (361 lines).
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/store_files.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace rw::jv {

// The kind words of the odds tables' names; three of them are the names of
// the kinds' bet-import folders.
inline constexpr const char16_t* kSanrentanOddsWord = kSanrentanFolder;
inline constexpr char16_t kSanrenOddsWord[] = u"SANREN";
inline constexpr const char16_t* kUmatanOddsWord = kUmatanFolder;
inline constexpr const char16_t* kUmarenOddsWord = kUmarenFolder;

// "KAIME\" + RaceID + kind word + "ODDS.dat" under AppPath. Throws
// StepFailure when the RaceID is not twelve digits.
QString OddsTableFile(QByteArrayView raceId, const char16_t* kindWord);

inline constexpr int kHorseIndexes = 19;  // horse numbers 0 to 18; 0 is never a real horse
inline constexpr int kTrioLines = kHorseIndexes * kHorseIndexes * kHorseIndexes;  // 6859
inline constexpr int kPairLines = kHorseIndexes * kHorseIndexes;                  // 361

// The window's two working grids: the three-horse grid serves 3連単 and
// 3連複, the two-horse grid 馬単 and 馬連. Zero when first created and never
// cleared, so a cell keeps the last value any record gave it.
class OddsGrids {
public:
    OddsGrids();
    float trio(int a, int b, int c) const { return trio_[size_t(trioLine(a, b, c) - 1)]; }
    float pair(int a, int b) const { return pair_[size_t(pairLine(a, b) - 1)]; }
    void setTrio(int a, int b, int c, float v);
    void setPair(int a, int b, float v);
    // The table texts: every cell in line order, each value and CR LF.
    QByteArray trioTable() const;
    QByteArray pairTable() const;

    // The text of a cell's value: at most seven significant digits.
    static QByteArray cellText(float v);

    // Line numbers of a cell (from 1).
    static constexpr int trioLine(int a, int b, int c) { return 1 + 361 * a + 19 * b + c; }
    static constexpr int pairLine(int a, int b) { return 1 + 19 * a + b; }

    // Each cell keeps its value and its text, formatted once when set.
    struct Text {
        char bytes[15];
        std::uint8_t size;
    };

private:
    static Text format(float v);
    std::array<float, kTrioLines> trio_{};
    std::array<float, kPairLines> pair_{};
    std::array<Text, kTrioLines> trioText_{};
    std::array<Text, kPairLines> pairText_{};
};

// The program's grids: they live as long as the program, across every load
// of the window.
OddsGrids& ProgramOddsGrids();

// The value of an odds text: 0 for no odds (all zeros, all "-", all "*", all
// blanks), else the text read leniently, divided by 10, as a Single.
float OddsValue(QByteArrayView oddsText);

// The load: processes "O6…", "O5…", "O4…" and "O2…" (THISWEEKN for flag 0,
// RIALTIME otherwise) in that order and writes one table per line of each.
// A source file that does not exist builds nothing (recorded in `log`); a
// record whose RaceID is not twelve digits still sets its cells but names no
// file (recorded); a combination with a horse number outside 0 to 18 sets
// no cell; a table that cannot be written is recorded and the next record
// goes on. Returns the number of tables written.
int BuildOddsTables(OddsGrids& grids, std::int16_t sourceFlag, SkipLog& log);

// The menu's presses that open the odds-table window (Command7: flag 0, its
// texts in Text2; Command13: flag 1, texts in Text3): the start text, one
// turn of events, the flag, `showWindow` (whose load builds the tables, or
// which only brings an open window to the front), the end text.
void RunOddsProcessing(UiPort& ui, std::int16_t flag, const std::function<void()>& showWindow);

}  // namespace rw::jv
