#include "model/expanded_build.h"

#include "common/control_names.h"
#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "model/package_files.h"
#include "model/record_image.h"

#include <QFile>
#include <cstring>
#include <limits>

namespace rw::model {

namespace {

using jv::Kind;
using jv::kRA;
using jv::kSE;
using jv::kUM;
using jv::kKS;

constexpr Field exAt(std::string_view name, int e = 0) { return ex::at(name, e); }
constexpr Field seAt(std::string_view name, int e = 0) { return findField(kSE, name, {}, e); }
constexpr Field raAt(std::string_view name, int e = 0) { return findField(kRA, name, {}, e); }
constexpr Field umAt(std::string_view name) { return findField(kUM, name); }
constexpr Field ksAt(std::string_view name) { return findField(kKS, name); }

constexpr int kSeLength = kSE.imageLength;
constexpr int kRaLength = kRA.imageLength;
constexpr int kUmLength = kUM.imageLength;
constexpr int kKsLength = kKS.imageLength;

// A member copied byte for byte from the SE image.
struct Copy {
    Field to, from;
};
constexpr Field kSeHead{1, 40, 1, 40};  // record kind … registration number
// clang-format off
constexpr Copy kSeCopies[] = {
    {kSeHead, kSeHead},
    {exAt("HorseName"), seAt("horse name")},
    {exAt("HorseSymbolCode"), seAt("horse symbol code")},
    {exAt("SexCode"), seAt("sex code")},
    {exAt("BreedCode"), seAt("breed code")},
    {exAt("CoatColourCode"), seAt("coat colour code")},
    {exAt("EastWestCode"), seAt("affiliation code")},
    {exAt("TrainerCode"), seAt("trainer code")},
    {exAt("TrainerShortName"), seAt("trainer short name")},
    {exAt("OwnerCode"), seAt("owner code")},
    {exAt("Colours"), seAt("racing colours")},
    {exAt("CarriedWeight"), seAt("weight carried")},
    {exAt("CarriedWeightBefore"), seAt("weight carried before change")},
    {exAt("BlinkerCode"), seAt("blinker use")},
    {exAt("SpareCode"), seAt("reserved 296")},
    {exAt("JockeyCode"), seAt("jockey code")},
    {exAt("JockeyCodeBefore"), seAt("jockey code before change")},
    {exAt("JockeyShortName"), seAt("jockey short name")},
    {exAt("JockeyShortNameBefore"), seAt("jockey short name before change")},
    {exAt("ApprenticeCode"), seAt("apprentice code")},
    {exAt("ApprenticeCodeBefore"), seAt("apprentice code before change")},
    {exAt("BodyWeight"), seAt("body weight")},
    {exAt("WeightChangeSign"), seAt("body weight change sign")},
    {exAt("WeightChange"), seAt("body weight change")},
    {exAt("AbnormalityCode"), seAt("abnormality code")},
    {exAt("ArrivalOrder"), seAt("arrival order")},
    {exAt("FinishPosition"), seAt("confirmed position")},
    {exAt("DeadHeatCode"), seAt("dead-heat kind")},
    {exAt("DeadHeatCount"), seAt("dead-heat count")},
    {exAt("RaceTime"), seAt("time")},
    {exAt("MarginCode"), seAt("margin code")},
    {exAt("MarginCode2"), seAt("second margin code")},
    {exAt("MarginCode3"), seAt("third margin code")},
    {exAt("Corner1Position"), seAt("corner positions", 0)},
    {exAt("Corner2Position"), seAt("corner positions", 1)},
    {exAt("Corner3Position"), seAt("corner positions", 2)},
    {exAt("Corner4Position"), seAt("corner positions", 3)},
    {exAt("WinOdds"), seAt("win odds")},
    {exAt("WinPopularity"), seAt("win popularity")},
    {exAt("PrizeMoney"), seAt("prize money won")},
    {exAt("AddedPrizeMoney"), seAt("added prize money won")},
    {exAt("Spare1"), seAt("reserved 382")},
    {exAt("Spare2"), seAt("reserved 385")},
    {exAt("Last4FTime"), seAt("last 4 furlongs time")},
    {exAt("Last3FTime"), seAt("last 3 furlongs time")},
    {exAt("TimeDiff"), seAt("time difference")},
    {exAt("RecordEnd"), seAt("CR LF")},
};
// Members that hold blanks whatever the master data holds.
constexpr Field kBlankMembers[] = {
    exAt("SpareText"), exAt("SaleCode"), exAt("SaleHost"), exAt("SaleName"), exAt("SaleFrom"), exAt("SaleTo"),
    exAt("SaleAge"), exAt("SalePrice"), exAt("SireBirthYear"), exAt("SireArea"), exAt("DamNo"),
    exAt("DamBirthYear"), exAt("DamArea"), exAt("DamSireNo"), exAt("DamSireBirthYear"), exAt("DamSireArea"),
    exAt("Pedigree5No"), exAt("Pedigree5BirthYear"), exAt("Pedigree5Area"), exAt("Pedigree6No"),
    exAt("Pedigree6BirthYear"), exAt("Pedigree6Area"), exAt("Pedigree7No"), exAt("Pedigree7BirthYear"),
    exAt("Pedigree7Area"),
};
// clang-format on

constexpr bool copiesAgree() {
    for (const Copy& c : kSeCopies)
        if (c.to.width != c.from.width) return false;
    return true;
}
static_assert(copiesAgree());

// The RA items of the record lie in two runs of the RA image: grade code to
// the race condition codes, and distance to the corner passing orders; the
// record holds them side by side from GradeCode to the end of Corners.
constexpr Field kRaFirst{raAt("grade code").pos, raAt("race condition name").pos - raAt("grade code").pos, 0, 0};
constexpr Field kRaSecond{raAt("distance").pos, raAt("record update kind").pos - raAt("distance").pos, 0, 0};
constexpr int kRaceItemsPos = exAt("GradeCode").pos;
constexpr int kRaceItemsWidth = exAt("SpeedTexts").pos - kRaceItemsPos;
static_assert(kRaFirst.width + kRaSecond.width == kRaceItemsWidth);
static_assert(exAt("Distance").pos - kRaceItemsPos == kRaFirst.width);

constexpr Field kRaWeekday = raAt("weekday code");
// Members written for every record, found once.
constexpr Field kExInvitedArea = exAt("InvitedArea");
constexpr Field kExProductionArea = exAt("ProductionArea");
constexpr Field kExJockeyBirthMonth = exAt("JockeyBirthMonth");
constexpr Field kExJockeyBirthDay = exAt("JockeyBirthDay");
constexpr Field kExJockeySexCode = exAt("JockeySexCode");
constexpr Field kExJockeyInvitedArea = exAt("JockeyInvitedArea");
constexpr Field kExJockeyQualificationCode = exAt("JockeyQualificationCode");
constexpr Field kUmBirth = umAt("birth date");
constexpr Field kKsBirth = ksAt("birth date");

void put(QByteArray& rec, Field f, QByteArrayView v) { putFixed(rec, f.pos, f.width, v); }

// A record file read whole, `count` whole records (truncated); a missing
// file is created empty, as opening it for random access does.
QByteArray readRecordFile(const QString& path, qsizetype length, qint64* count) {
    return ReadRecordImage(path, length, PartRecord::Dropped, count);
}

// The race join key (racecourse, year, month-day, race number) into `buf`,
// to be looked up without a copy.
QByteArray raceJoinKeyIn(QByteArrayView rec, char (&buf)[12]) {
    static_assert(jv::head::Racecourse.width + jv::head::Year.width + jv::head::MonthDay.width +
                      jv::head::RaceNumber.width == 12);
    char* p = buf;
    for (const Field f : {jv::head::Racecourse, jv::head::Year, jv::head::MonthDay, jv::head::RaceNumber}) {
        const QByteArrayView v = member(rec, f);
        std::memcpy(p, v.data(), size_t(v.size()));
        p += v.size();
    }
    return QByteArray::fromRawData(buf, p - buf);
}

QByteArray raceJoinKeyOf(QByteArrayView rec) {
    QByteArray k;
    k.reserve(12);
    k += member(rec, jv::head::Racecourse);
    k += member(rec, jv::head::Year);
    k += member(rec, jv::head::MonthDay);
    k += member(rec, jv::head::RaceNumber);
    return k;
}

struct JockeyValues {
    QByteArray birth, area, sex, qualification;
};

}  // namespace

struct ExpandedBuilder::Tables {
    QHash<QByteArray, HorseJoin> horses;     // registration number -> last UM row
    QHash<QByteArray, JockeyValues> jockeys; // jockey code -> last KS row
    QHash<QByteArray, RaceJoin> races;       // RaceJoinKey -> last RA row (without jockey values)
};

namespace {

using Tables = ExpandedBuilder::Tables;

void loadUmTable(UiPort& ui, Tables& t) {
    qint64 n = 0;
    const QByteArray all = readRecordFile(AppFile(jv::kUmNewFile), kUmLength, &n);
    DamFoalIndex damFoals;
    bool damFoalsLoaded = false;
    QString text;
    for (qint64 i = 1; i <= n; ++i) {
        const QByteArrayView um = QByteArrayView(all).sliced((i - 1) * kUmLength, kUmLength);
        if (!damFoalsLoaded) {  // the dam-foal list is opened at the first UM image
            damFoals.load();
            damFoalsLoaded = true;
        }
        HorseJoin row = HorseJoinOf(um);
        row.FoalOrder = DamFoalOrder(damFoals, um);
        if (i == n)
            text = QString::number(i) + u' ' + cp932::decode(row.SireNo) + u' ' + cp932::decode(row.SireName);
        t.horses.insert(member(um, jv::um::RegistrationNumber).toByteArray(), std::move(row));
    }
    // Nothing is repainted while the table loads: the last texts are what shows.
    if (n > 0) {
        ui.setText(ctl::ExpandedText3, text);
        ui.setProgress(ctl::ExpandedProgressBar3, 100, 100);
    }
}

void loadKsTable(Tables& t) {
    for (const QString& path : {AppFile(jv::kKsWeekFile), AppFile(kPackageJockeyFile)}) {
        qint64 n = 0;
        const QByteArray all = readRecordFile(path, kKsLength, &n);
        for (qint64 i = 1; i <= n; ++i) {
            const QByteArrayView ks = QByteArrayView(all).sliced((i - 1) * kKsLength, kKsLength);
            JockeyValues v{member(ks, kKsBirth).toByteArray(), member(ks, jv::ks::InvitedAreaName).toByteArray(),
                           member(ks, jv::ks::SexCode).toByteArray(),
                           member(ks, jv::ks::RidingQualification).toByteArray()};
            t.jockeys.insert(member(ks, jv::ks::JockeyCode).toByteArray(), std::move(v));
        }
    }
}

void loadRaTable(Tables& t) {
    qint64 n = 0;
    const QByteArray all = readRecordFile(AppFile(jv::kRaNewFile), kRaLength, &n);
    for (qint64 i = 1; i <= n; ++i) {
        const QByteArrayView ra = QByteArrayView(all).sliced((i - 1) * kRaLength, kRaLength);
        RaceJoin row;
        row.RaceItems.reserve(kRaceItemsWidth);
        row.RaceItems += member(ra, kRaFirst);
        row.RaceItems += member(ra, kRaSecond);
        row.WeekdayCode = member(ra, kRaWeekday).toByteArray();
        t.races.insert(raceJoinKeyOf(ra), std::move(row));
    }
}

double makeDateOf(QByteArrayView rec) {
    QByteArray d = member(rec, ex::MakeYear).toByteArray();
    d += member(rec, ex::MakeMonth);
    d += member(rec, ex::MakeDay);
    return valLenient(d);
}

QByteArray joined(const QList<QByteArray>& records, qsizetype n) {
    QByteArray all;
    all.reserve(n * kExRecordLength);
    for (qsizetype r = 0; r < n; ++r) all += records[r];
    return all;
}

}  // namespace

HorseJoin HorseJoinOf(QByteArrayView um) {
    HorseJoin h;
    h.BirthDate = member(um, kUmBirth).toByteArray();
    h.SireNo = member(um, jv::um::SireNumber).toByteArray();
    h.SireName = member(um, jv::um::PedigreeName(0)).toByteArray();
    h.SireDamName = member(um, jv::um::PedigreeName(3)).toByteArray();
    h.BreederCode = member(um, umAt("breeder code")).toByteArray();
    h.BreederName = member(um, umAt("breeder name")).toByteArray();
    h.ProductionArea = member(um, umAt("production area name")).toByteArray();
    h.InvitedArea = member(um, umAt("invited area name")).toByteArray();
    return h;
}

namespace {
// Bytes from..from+n of a text, as far as it goes (QByteArray::mid without the copy).
QByteArrayView part(const QByteArray& t, qsizetype from, qsizetype n) {
    if (from >= t.size()) return {};
    return QByteArrayView(t).sliced(from, std::min(n, t.size() - from));
}
}  // namespace

void FillExpandedRecord(QByteArray& rec, QByteArrayView se, const HorseJoin& h, const RaceJoin& r) {
    if (rec.size() != kExRecordLength) rec.resize(kExRecordLength, '\0');
    for (const Copy& c : kSeCopies) put(rec, c.to, member(se, c.from));
    for (const Field& f : kBlankMembers) put(rec, f, {});
    put(rec, ex::FoalOrder, h.FoalOrder);
    put(rec, ex::BirthYear, part(h.BirthDate, 0, 4));
    put(rec, ex::BirthMonth, part(h.BirthDate, 4, 2));
    put(rec, ex::BirthDay, part(h.BirthDate, 6, 2));
    put(rec, kExInvitedArea, h.InvitedArea);
    put(rec, ex::BreederCode, h.BreederCode);
    put(rec, ex::BreederName, h.BreederName);
    put(rec, kExProductionArea, h.ProductionArea);
    put(rec, ex::SireNo, h.SireNo);
    put(rec, ex::SireName, h.SireName);
    put(rec, ex::Pedigree7Name, h.SireDamName);
    put(rec, ex::WeekdayCode, r.WeekdayCode);
    putFixed(rec, kRaceItemsPos, kRaceItemsWidth, r.RaceItems);
    put(rec, ex::JockeyBirthYear, part(r.JockeyBirthDate, 0, 4));
    put(rec, kExJockeyBirthMonth, part(r.JockeyBirthDate, 4, 2));
    put(rec, kExJockeyBirthDay, part(r.JockeyBirthDate, 6, 2));
    put(rec, kExJockeySexCode, r.JockeySexCode);
    put(rec, kExJockeyInvitedArea, r.JockeyInvitedArea);
    put(rec, kExJockeyQualificationCode, r.JockeyQualificationCode);
}

void DamFoalIndex::load() {
    const StatsFileImage img = ReadStatsFile(kDamFoalFile, DamFoalRecord::kLength);
    data_ = img.data;
    count_ = img.count;
    first_.clear();
    const int w = DamFoalRecord::DamBreedingNo.width;
    for (qint64 j = count_; j >= 1; --j)
        first_.insert(data_.mid((j - 1) * DamFoalRecord::kLength + DamFoalRecord::DamBreedingNo.offset(), w), j);
}

QByteArray DamFoalIndex::order(QByteArrayView dam, QByteArrayView reg) const {
    int p = 0;
    const auto it = first_.constFind(dam.toByteArray());
    if (it != first_.cend()) {
        const Field foal = DamFoalRecord::FoalRegistrationNo;
        for (int d = 0; d <= 20; ++d) {
            const qint64 r = it.value() + d;
            if (r > count_) break;
            const QByteArrayView v =
                QByteArrayView(data_).sliced((r - 1) * DamFoalRecord::kLength + foal.offset(), foal.width);
            if (v == reg) {
                p = d;
                break;
            }
        }
    }
    return QByteArray::number(p + 101).right(2);
}

QByteArray DamFoalOrder(const DamFoalIndex& index, QByteArrayView um) {
    return index.order(member(um, jv::um::DamNumber), member(um, jv::um::RegistrationNumber));
}

ExpandedBuilder::ExpandedBuilder(UiPort& ui, ExpandedState& s) : ui_(ui), s_(s), t_(std::make_unique<Tables>()) {
    // Every build starts as a new window's first one would.
    s.ExRecord = QByteArray(kExRecordLength, '\0');
    s.ExRecordNo = 0;
    s.HorseJoinValues = HorseJoin{};
    s.RaceJoinValues = RaceJoin{};
    record_ = s.ExRecord;
    loadUmTable(ui, *t_);
    loadKsTable(*t_);
    loadRaTable(*t_);
}

ExpandedBuilder::~ExpandedBuilder() = default;

QByteArray ExpandedBuilder::readRuns(QByteArrayView reg, qint64* n) {
    QByteArray runs = readRecordFile(jv::HorseRunFile(reg), kSeLength, n);
    if (*n > std::numeric_limits<std::int16_t>::max())
        fail("run file of " + printable(reg) + " holds more runs than a record number can count");
    return runs;
}

void ExpandedBuilder::assemble(QByteArrayView reg, const QByteArray& runs, qint64 n, QList<QByteArray>& out) {
    const Tables& t = *t_;
    ExpandedState& s = s_;
    if (auto it = t.horses.constFind(reg.toByteArray()); it != t.horses.cend()) s.HorseJoinValues = *it;
    out.reserve(n);
    for (qint64 k = 1; k <= n; ++k) {
        recordNo_ = std::int16_t(k);
        const QByteArrayView se = QByteArrayView(runs).sliced((k - 1) * kSeLength, kSeLength);
        char key[12];
        if (auto race = t.races.constFind(raceJoinKeyIn(se, key)); race != t.races.cend()) {
            RaceJoin& v = s.RaceJoinValues;
            v.JockeyBirthDate.clear();
            v.JockeyInvitedArea.clear();
            v.JockeySexCode.clear();
            v.JockeyQualificationCode.clear();
            const QByteArrayView jockey = member(se, jv::se::JockeyCode);
            if (auto j = t.jockeys.constFind(QByteArray::fromRawData(jockey.data(), jockey.size()));
                j != t.jockeys.cend()) {
                v.JockeyBirthDate = j->birth;
                v.JockeyInvitedArea = j->area;
                v.JockeySexCode = j->sex;
                v.JockeyQualificationCode = j->qualification;
            }
            v.RaceItems = race->RaceItems;
            v.WeekdayCode = race->WeekdayCode;
        }
        FillExpandedRecord(record_, se, s.HorseJoinValues, s.RaceJoinValues);
        out.append(record_);
    }
}

// One horse: its records built in memory, its file written once. On a
// failure the records already built are written, as a record-by-record
// writer would have left them, and the failure goes on to the caller.
void ExpandedBuilder::buildFile(QByteArrayView reg) {
    const QString exPath = ExpandedRecordFile(reg);
    RecordFile exFile(exPath, kExRecordLength);
    qint64 n = 0;
    const QByteArray runs = readRuns(reg, &n);
    QList<QByteArray> built;
    if (n > 0) {
        assemble(reg, runs, n, built);
        exFile.writeRecords(1, joined(built, n));
    }
    // A stale last record: older than the one before it.
    const qint64 m = exFile.count();
    exFile.close();
    if (m < 2) return;
    auto recordOf = [&](qint64 r) -> QByteArray {
        if (r <= n) return built[r - 1];
        RecordFile f(exPath, kExRecordLength);
        return f.read(r);
    };
    if (!(makeDateOf(recordOf(m)) < makeDateOf(recordOf(m - 1)))) return;
    QByteArray kept;
    if (m <= n) {
        kept = joined(built, m - 1);
    } else {
        RecordFile f(exPath, kExRecordLength);
        kept = f.read(1);
        for (qint64 r = 2; r <= m - 1; ++r) kept += f.read(r);
    }
    RecordFile temp(AppFile(jv::kScratchFile), kExRecordLength);
    temp.writeRecords(1, kept);
    temp.close();
    if (QString reason; !RemoveFile(exPath, &reason)) failFile("delete", exPath, reason);
    RecordFile again(exPath, kExRecordLength);
    again.writeRecords(1, kept);
}

void ExpandedBuilder::buildRecords(QByteArrayView reg, QList<QByteArray>& records) {
    records.clear();
    qint64 n = 0;
    const QByteArray runs = readRuns(reg, &n);
    if (n == 0) return;
    assemble(reg, runs, n, records);
    // The stale last record, as buildFile drops it from a file that held
    // nothing before: the scratch file gets the records kept, the horse file
    // (empty on disk) is deleted, to be created again with them.
    if (n < 2 || !(makeDateOf(records[n - 1]) < makeDateOf(records[n - 2]))) return;
    RecordFile temp(AppFile(jv::kScratchFile), kExRecordLength);
    temp.writeRecords(1, joined(records, n - 1));
    temp.close();
    const QString exPath = ExpandedRecordFile(reg);
    if (QString reason; !RemoveFile(exPath, &reason)) failFile("delete", exPath, reason);
    records.removeLast();
}

void ExpandedBuilder::horseDone(int h, int count) {
    const int value = int(qint64(h) * 100 / count);
    if (value != shown_) {
        ui_.setProgress(ctl::ExpandedProgressBar3, value, 100);
        shown_ = value;
    }
}

void BuildExpandedRecords(UiPort& ui, ExpandedState& s, SkipLog& log) {
    ExpandedBuilder builder(ui, s);
    const int count = std::min<int>(s.WeekListCount, int(s.WeekList.size()));
    for (int h = 1; h <= count; ++h) {
        const QByteArray reg = s.WeekList[h - 1];
        if (!isRegistrationNumber(reg)) {
            log.record("building the expanded records of \"" + printable(reg) + "\"",
                       "not a ten-digit registration number; no file is named by it");
        } else {
            log.step("building the expanded records of " + printable(reg), [&] { builder.buildFile(reg); });
        }
        builder.horseDone(h, count);
    }
    ui.processEvents();
    s.ExRecord = builder.record();
    s.ExRecordNo = builder.recordNo();
}

}  // namespace rw::model
