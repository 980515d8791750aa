#include "sample/names.h"

#include "common/cp932.h"

#include <QString>
#include <iterator>
#include <string_view>

namespace rw::sample::detail {
namespace {

struct Syllable {
    const char* full;
    const char* half;
    const char* roma;
};

// Katakana syllables with their half-width form and romanisation; "ー"
// lengthens the vowel before it.
constexpr Syllable kSyllables[] = {
    {"ア", "ｱ", "a"},   {"イ", "ｲ", "i"},     {"ウ", "ｳ", "u"},    {"エ", "ｴ", "e"},    {"オ", "ｵ", "o"},
    {"カ", "ｶ", "ka"},  {"キ", "ｷ", "ki"},    {"ク", "ｸ", "ku"},   {"ケ", "ｹ", "ke"},   {"コ", "ｺ", "ko"},
    {"サ", "ｻ", "sa"},  {"シ", "ｼ", "shi"},   {"ス", "ｽ", "su"},   {"セ", "ｾ", "se"},   {"ソ", "ｿ", "so"},
    {"タ", "ﾀ", "ta"},  {"チ", "ﾁ", "chi"},   {"ツ", "ﾂ", "tsu"},  {"テ", "ﾃ", "te"},   {"ト", "ﾄ", "to"},
    {"ナ", "ﾅ", "na"},  {"ニ", "ﾆ", "ni"},    {"ネ", "ﾈ", "ne"},   {"ノ", "ﾉ", "no"},   {"ハ", "ﾊ", "ha"},
    {"ヒ", "ﾋ", "hi"},  {"フ", "ﾌ", "fu"},    {"ヘ", "ﾍ", "he"},   {"ホ", "ﾎ", "ho"},   {"マ", "ﾏ", "ma"},
    {"ミ", "ﾐ", "mi"},  {"ム", "ﾑ", "mu"},    {"メ", "ﾒ", "me"},   {"モ", "ﾓ", "mo"},   {"ヤ", "ﾔ", "ya"},
    {"ユ", "ﾕ", "yu"},  {"ヨ", "ﾖ", "yo"},    {"ラ", "ﾗ", "ra"},   {"リ", "ﾘ", "ri"},   {"ル", "ﾙ", "ru"},
    {"レ", "ﾚ", "re"},  {"ロ", "ﾛ", "ro"},    {"ワ", "ﾜ", "wa"},   {"ガ", "ｶﾞ", "ga"},  {"ギ", "ｷﾞ", "gi"},
    {"グ", "ｸﾞ", "gu"}, {"ゲ", "ｹﾞ", "ge"},   {"ゴ", "ｺﾞ", "go"},  {"ザ", "ｻﾞ", "za"},  {"ジ", "ｼﾞ", "ji"},
    {"ズ", "ｽﾞ", "zu"}, {"ゼ", "ｾﾞ", "ze"},   {"ダ", "ﾀﾞ", "da"},  {"デ", "ﾃﾞ", "de"},  {"ド", "ﾄﾞ", "do"},
    {"バ", "ﾊﾞ", "ba"}, {"ビ", "ﾋﾞ", "bi"},   {"ブ", "ﾌﾞ", "bu"},  {"ベ", "ﾍﾞ", "be"},  {"ボ", "ﾎﾞ", "bo"},
    {"パ", "ﾊﾟ", "pa"}, {"ピ", "ﾋﾟ", "pi"},   {"ポ", "ﾎﾟ", "po"},  {"ヴ", "ｳﾞ", "vu"},  {"ティ", "ﾃｨ", "ti"},
    {"ファ", "ﾌｧ", "fa"}, {"フィ", "ﾌｨ", "fi"}, {"シャ", "ｼｬ", "sha"}, {"ジュ", "ｼﾞｭ", "ju"}, {"チャ", "ﾁｬ", "cha"},
    {"キャ", "ｷｬ", "kya"}, {"ウィ", "ｳｨ", "wi"},
};
constexpr Syllable kLong = {"ー", "ｰ", ""};
constexpr Syllable kN = {"ン", "ﾝ", "n"};

struct Kanji {
    const char* kanji;
    const char* kana;
    const char* roma;
};

// Common surnames; the 髙 forms are the code page 932 extension characters.
constexpr Kanji kSurnames[] = {
    {"佐藤", "ｻﾄｳ", "Sato"},       {"鈴木", "ｽｽﾞｷ", "Suzuki"},    {"田中", "ﾀﾅｶ", "Tanaka"},
    {"伊藤", "ｲﾄｳ", "Ito"},        {"渡辺", "ﾜﾀﾅﾍﾞ", "Watanabe"}, {"山本", "ﾔﾏﾓﾄ", "Yamamoto"},
    {"中村", "ﾅｶﾑﾗ", "Nakamura"},  {"小林", "ｺﾊﾞﾔｼ", "Kobayashi"},{"加藤", "ｶﾄｳ", "Kato"},
    {"吉田", "ﾖｼﾀﾞ", "Yoshida"},   {"山田", "ﾔﾏﾀﾞ", "Yamada"},    {"山口", "ﾔﾏｸﾞﾁ", "Yamaguchi"},
    {"松本", "ﾏﾂﾓﾄ", "Matsumoto"}, {"井上", "ｲﾉｳｴ", "Inoue"},     {"木村", "ｷﾑﾗ", "Kimura"},
    {"林", "ﾊﾔｼ", "Hayashi"},      {"清水", "ｼﾐｽﾞ", "Shimizu"},   {"山崎", "ﾔﾏｻﾞｷ", "Yamazaki"},
    {"森", "ﾓﾘ", "Mori"},          {"池田", "ｲｹﾀﾞ", "Ikeda"},     {"橋本", "ﾊｼﾓﾄ", "Hashimoto"},
    {"阿部", "ｱﾍﾞ", "Abe"},        {"石川", "ｲｼｶﾜ", "Ishikawa"},  {"山下", "ﾔﾏｼﾀ", "Yamashita"},
    {"中島", "ﾅｶｼﾞﾏ", "Nakajima"}, {"石井", "ｲｼｲ", "Ishii"},      {"小川", "ｵｶﾞﾜ", "Ogawa"},
    {"前田", "ﾏｴﾀﾞ", "Maeda"},     {"岡田", "ｵｶﾀﾞ", "Okada"},     {"長谷川", "ﾊｾｶﾞﾜ", "Hasegawa"},
    {"藤田", "ﾌｼﾞﾀ", "Fujita"},    {"後藤", "ｺﾞﾄｳ", "Goto"},      {"近藤", "ｺﾝﾄﾞｳ", "Kondo"},
    {"村上", "ﾑﾗｶﾐ", "Murakami"},  {"遠藤", "ｴﾝﾄﾞｳ", "Endo"},     {"青木", "ｱｵｷ", "Aoki"},
    {"坂本", "ｻｶﾓﾄ", "Sakamoto"},  {"福田", "ﾌｸﾀﾞ", "Fukuda"},    {"太田", "ｵｵﾀ", "Ota"},
    {"西村", "ﾆｼﾑﾗ", "Nishimura"}, {"藤井", "ﾌｼﾞｲ", "Fujii"},     {"金子", "ｶﾈｺ", "Kaneko"},
    {"岡本", "ｵｶﾓﾄ", "Okamoto"},   {"藤原", "ﾌｼﾞﾜﾗ", "Fujiwara"}, {"三浦", "ﾐｳﾗ", "Miura"},
    {"原田", "ﾊﾗﾀﾞ", "Harada"},    {"松田", "ﾏﾂﾀﾞ", "Matsuda"},   {"竹内", "ﾀｹｳﾁ", "Takeuchi"},
    {"小野", "ｵﾉ", "Ono"},         {"田村", "ﾀﾑﾗ", "Tamura"},     {"髙田", "ﾀｶﾀﾞ", "Takada"},
    {"髙橋", "ﾀｶﾊｼ", "Takahashi"}, {"髙野", "ﾀｶﾉ", "Takano"},     {"髙木", "ﾀｶｷﾞ", "Takagi"},
    {"菊池", "ｷｸﾁ", "Kikuchi"},    {"野口", "ﾉｸﾞﾁ", "Noguchi"},   {"大塚", "ｵｵﾂｶ", "Otsuka"},
};

constexpr int kFirstTaka = 50;  // the four 髙 surnames
static_assert(std::string_view(kSurnames[kFirstTaka].kanji) == "髙田" && std::string_view(kSurnames[kFirstTaka + 3].kanji) == "髙木");

constexpr Kanji kGivenMale[] = {
    {"健太", "ｹﾝﾀ", "Kenta"},   {"翔", "ｼｮｳ", "Sho"},       {"大輝", "ﾀﾞｲｷ", "Daiki"},   {"拓也", "ﾀｸﾔ", "Takuya"},
    {"亮", "ﾘｮｳ", "Ryo"},       {"誠", "ﾏｺﾄ", "Makoto"},    {"隆", "ﾀｶｼ", "Takashi"},    {"浩二", "ｺｳｼﾞ", "Koji"},
    {"裕太", "ﾕｳﾀ", "Yuta"},    {"悠人", "ﾕｳﾄ", "Yuto"},    {"優", "ﾕｳ", "Yu"},          {"勇人", "ﾊﾔﾄ", "Hayato"},
    {"直人", "ﾅｵﾄ", "Naoto"},   {"和也", "ｶｽﾞﾔ", "Kazuya"}, {"聡", "ｻﾄｼ", "Satoshi"},    {"学", "ﾏﾅﾌﾞ", "Manabu"},
    {"光", "ﾋｶﾙ", "Hikaru"},    {"陸", "ﾘｸ", "Riku"},       {"颯", "ﾊﾔﾃ", "Hayate"},     {"蓮", "ﾚﾝ", "Ren"},
    {"康成", "ﾔｽﾅﾘ", "Yasunari"},{"圭", "ｹｲ", "Kei"},       {"慎吾", "ｼﾝｺﾞ", "Shingo"},   {"雄一", "ﾕｳｲﾁ", "Yuichi"},
    {"秀樹", "ﾋﾃﾞｷ", "Hideki"}, {"正義", "ﾏｻﾖｼ", "Masayoshi"},{"卓", "ｽｸﾞﾙ", "Suguru"},  {"一馬", "ｶｽﾞﾏ", "Kazuma"},
    {"達也", "ﾀﾂﾔ", "Tatsuya"}, {"英明", "ﾋﾃﾞｱｷ", "Hideaki"},
};

constexpr Kanji kGivenFemale[] = {
    {"奈々", "ﾅﾅ", "Nana"},   {"美咲", "ﾐｻｷ", "Misaki"}, {"莉子", "ﾘｺ", "Riko"},
    {"千尋", "ﾁﾋﾛ", "Chihiro"}, {"愛", "ｱｲ", "Ai"},      {"瑞希", "ﾐｽﾞｷ", "Mizuki"},
};

constexpr const char* kAreas[] = {"日高町", "新冠町", "浦河町", "新ひだか町", "安平町", "様似町",
                                  "平取町", "むかわ町", "千歳市", "洞爺湖町", "えりも町", "青森県",
                                  "熊本県", "鹿児島県", "茨城県"};

constexpr const char* kColours[] = {"黒", "赤", "青", "緑", "黄", "白", "桃", "紫", "水色", "茶", "橙", "えんじ"};
constexpr const char* kPatterns[] = {"", "，白袖", "，袖黄一本輪", "，青山形一本輪", "，白星散らし",
                                     "，赤襷", "，黄縦縞", "，緑三本輪", "，白一本輪", "，赤袖青一本輪",
                                     "，桃二本輪", "，黒鋸歯形"};

constexpr const char* kSpecialRaces[] = {
    "師走特別",     "銀嶺ステークス", "葉牡丹賞",     "黒松賞",       "寒椿賞",       "ベゴニア賞",
    "秋明菊賞",     "赤松賞",         "ひいらぎ賞",   "サフラン賞",   "初咲賞",       "若潮特別",
    "房総特別",     "犬吠埼特別",     "大寒桜賞",     "早春ステークス", "春風ステークス", "新緑賞",
    "青葉賞特別",   "夏至ステークス", "白秋ステークス", "紅葉特別",     "ＷＡＳＪ第①戦", "ＷＡＳＪ第②戦",
    "鳴尾特別",     "江坂特別",       "御影特別",     "逆瀬川ステークス", "西宮ステークス", "妙見山特別",
};

constexpr const char* kLocalAreas[] = {"大井", "船橋", "川崎", "浦和", "園田", "名古屋", "笠松", "門別"};

QByteArray enc(const char* utf8) { return cp932::encode(utf8); }

}  // namespace

const char* specialRaceName(int i) { return kSpecialRaces[i % int(std::size(kSpecialRaces))]; }
int specialRaceNameCount() { return int(std::size(kSpecialRaces)); }
const char* localArea(int i) { return kLocalAreas[i % int(std::size(kLocalAreas))]; }
int localAreaCount() { return int(std::size(kLocalAreas)); }

HorseName NameMaker::horse() {
    for (;;) {
        QString full, half;
        QByteArray roma;
        int chars = 0;
        const int target = rng_.range(3, 8);
        bool lastSpecial = true;  // no "ー" or "ン" first
        while (chars < target) {
            const Syllable* s = &kSyllables[rng_.below(int(std::size(kSyllables)))];
            if (!lastSpecial && chars >= 2 && rng_.chance(0.12)) s = rng_.chance(0.5) ? &kLong : &kN;
            const QString f = QString::fromUtf8(s->full);
            if (chars + f.size() > 9) break;
            full += f;
            half += QString::fromUtf8(s->half);
            roma += s->roma;
            chars += int(f.size());
            lastSpecial = (s == &kLong || s == &kN);
        }
        if (chars < 2) continue;
        QByteArray name = cp932::encode(full);
        if (!usedHorses_.insert(name).second) continue;
        if (!roma.isEmpty()) roma[0] = char(roma[0] - 'a' + 'A');
        return HorseName{name, cp932::encode(half), roma};
    }
}

PersonName NameMaker::person(bool female) {
    // Every tenth person bears one of the 髙 names, so that even a small
    // world has them.
    const int n = int(std::size(kSurnames));
    const Kanji& s = persons_++ % 10 == 0 ? kSurnames[kFirstTaka + rng_.below(4)] : kSurnames[rng_.below(n)];
    const Kanji& g = female ? kGivenFemale[rng_.below(int(std::size(kGivenFemale)))]
                            : kGivenMale[rng_.below(int(std::size(kGivenMale)))];
    const QString sur = QString::fromUtf8(s.kanji), giv = QString::fromUtf8(g.kanji);
    PersonName p;
    p.full = cp932::encode(sur + QChar(0x3000) + giv);
    p.kana = cp932::encode(QString::fromUtf8(s.kana) + QLatin1Char(' ') + QString::fromUtf8(g.kana));
    p.english = QByteArray(g.roma) + ' ' + QByteArray(s.roma);
    p.shortName = cp932::encode((sur + giv).left(4));
    return p;
}

PersonName NameMaker::foreignPerson() {
    // Katakana given name and surname, as the data service writes foreign
    // riders.
    HorseName a = horse(), b = horse();
    PersonName p;
    p.full = cp932::firstChars(a.name, 4) + cp932::encode(QStringLiteral("．")) + cp932::firstChars(b.name, 6);
    p.kana = cp932::firstChars(a.kana, 6) + '.' + cp932::firstChars(b.kana, 10);
    p.english = a.english.left(10) + ' ' + b.english.left(12);
    p.shortName = cp932::encode(QStringLiteral("Ｍ．")) + cp932::firstChars(b.name, 2);
    return p;
}

QByteArray NameMaker::owner() {
    switch (rng_.below(4)) {
    case 0: return enc("㈱") + cp932::firstChars(horse().name, 6) + enc("レーシング");
    case 1: return enc("㈲") + cp932::firstChars(horse().name, 5) + enc("ホースクラブ");
    case 2: {
        PersonName p = person(rng_.chance(0.2));
        return p.full;
    }
    default: return enc("㈱") + cp932::firstChars(horse().name, 6);
    }
}

QByteArray NameMaker::breeder() {
    const Kanji& s = kSurnames[rng_.below(int(std::size(kSurnames)))];
    switch (rng_.below(4)) {
    case 0: return enc(s.kanji) + enc("牧場");
    case 1: return enc("㈲") + enc(s.kanji) + enc("ファーム");
    case 2: return cp932::firstChars(horse().name, 6) + enc("ファーム");
    default: return enc("㈱") + cp932::firstChars(horse().name, 5) + enc("スタッド");
    }
}

QByteArray NameMaker::productionArea() { return enc(kAreas[rng_.below(int(std::size(kAreas)))]); }

QByteArray NameMaker::colours() {
    return enc(kColours[rng_.below(int(std::size(kColours)))]) + enc(kPatterns[rng_.below(int(std::size(kPatterns)))]);
}

}  // namespace rw::sample::detail
