#pragma once
// Names for the synthetic world: horses, people, owners, breeders, colours
// and special races. All texts are code page 932 bytes; they use double-byte
// characters, half-width kana and characters only code page 932 has (①, ㈱,
// 髙), as real JV-Data does.
#include "sample/rng.h"

#include <QByteArray>
#include <set>

namespace rw::sample::detail {

struct HorseName {
    QByteArray name;     // katakana, at most 9 characters
    QByteArray kana;     // the same in half-width kana
    QByteArray english;  // romanised
};

struct PersonName {
    QByteArray full;     // "髙田　健太"
    QByteArray kana;     // half-width kana "ﾀｶﾀﾞ ｹﾝﾀ"
    QByteArray english;  // "Kenta Takada"
    QByteArray shortName;// at most four characters
};

class NameMaker {
public:
    explicit NameMaker(std::uint64_t seed) : rng_(seed) {}

    HorseName horse();  // never the same name twice
    PersonName person(bool female = false);
    PersonName foreignPerson();
    QByteArray owner();
    QByteArray breeder();
    QByteArray productionArea();
    QByteArray colours();
    QByteArray trainerShort(const PersonName& p) const { return p.shortName; }

private:
    Rng rng_;
    std::set<QByteArray> usedHorses_;
    int persons_ = 0;
};

// Special race names of ordinary classes (a few carry ①).
const char* specialRaceName(int i);
int specialRaceNameCount();

// Local racecourse names (invited jockeys and horses).
const char* localArea(int i);
int localAreaCount();

}  // namespace rw::sample::detail
