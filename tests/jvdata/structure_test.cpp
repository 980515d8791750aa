#include "jvdata/structure.h"

#include "common/kestrav_path.h"
#include "common/shell.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "support/recording_ui.h"
#include "common/text_file.h"
#include "support/literal_quicksort.h"
#include "jvdata/records.h"
#include "support/file_size_limit.h"
#include "support/record_builder.h"
#include "support/test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <csignal>
#ifdef __linux__
#include <sys/resource.h>
#endif
#include <random>

using namespace rw;
using namespace rw::jv;
using rwtest::AppFolder;

namespace {

const QString kText4 = QStringLiteral("KESF1THISWEEKNZ.Text4");

// ---- Record images -------------------------------------------------------

using rwtest::RecordBuilder;

// A record of blanks but for its kind and line end.
QByteArray blank(Kind k) { return RecordBuilder(k, ' ', ' '); }

struct Race {
    QByteArray date = "20240629";
    QByteArray course = "05";
    QByteArray race = "11";
    QByteArray key16() const { return date + course + "0308" + race; }
};

QByteArray RA(const Race& x, char kind, QByteArray make, QByteArray tag) {
    return RecordBuilder(Kind::RA, kind, ' ').set(head::MakeDate, make).raceKey(x.key16()).set(ra::RaceName, tag);
}

QByteArray SE(const Race& x, char kind, QByteArray horseNo, QByteArray reg, QByteArray make, QByteArray tag) {
    return RecordBuilder(Kind::SE, kind, ' ')
        .set(head::MakeDate, make)
        .raceKey(x.key16())
        .set(se::HorseNumber, horseNo)
        .set(se::RegistrationNumber, reg)
        .set(se::HorseName, tag);
}

QByteArray UM(QByteArray reg, QByteArray dam, QByteArray tag, char kind = '1') {
    return RecordBuilder(Kind::UM, kind, ' ')
        .set(head::MakeDate, "20240627")
        .set(um::RegistrationNumber, reg)
        .set(um::DamNumber, dam)
        .set(um::HorseName, tag);
}

QByteArray join(const QList<QByteArray>& recs) { return recs.join(); }

QList<QByteArray> split(const QByteArray& bytes, Kind k) {
    // As a record file counts: whole records only.
    QList<QByteArray> out;
    const int len = imageLength(k);
    for (qsizetype i = 0; i + len <= bytes.size(); i += len) out.append(bytes.mid(i, len));
    return out;
}

QByteArray tagOf(const QByteArray& rec, Kind k) {
    const Field f = k == Kind::RA ? ra::RaceName : k == Kind::SE ? se::HorseName : um::HorseName;
    return trimmedRight(member(rec, f.pos, f.width));
}

QList<QByteArray> tags(const QByteArray& bytes, Kind k) {
    QList<QByteArray> out;
    for (const auto& r : split(bytes, k)) out.append(tagOf(r, k));
    return out;
}

struct Week {
    QList<QByteArray> ra, se, um;
    void writeTo(const QString& folder) const {
        rwtest::writeFile(joinPath(folder, kRaWeekFile), join(ra));
        rwtest::writeFile(joinPath(folder, kSeWeekFile), join(se));
        rwtest::writeFile(joinPath(folder, kUmWeekFile), join(um));
    }
};

// Runs ② in the folder's application folder with a shell that starts
// nothing; the package is present unless told otherwise.
struct Run {
    RecordingUi ui;
    SkipLog log{"structure"};
    QStringList started;
    bool ran = false;
};

std::unique_ptr<Run> runStructure(const AppFolder& app, bool withPackage = true) {
    if (withPackage) app.write(QStringLiteral("OPTION1N\\KYOSOBA.dat"), "x");
    auto run = std::make_unique<Run>();
    ShellHandlers old = SetShellHandlers({[&](const QString& p) { run->started << p; return true; }, {}});
    run->ran = RunStructureProcessing(run->ui, run->log);
    SetShellHandlers(old);
    return run;
}

QByteArray runFile(const AppFolder& app, const char* reg) {
    return app.read(QStringLiteral("UMAGOTOTHISWEEKN\\") + QLatin1String(reg) + QStringLiteral(".dat"));
}

const char* H1 = "2019100001";
const char* H2 = "2019100002";
const char* H3 = "2019100003";

// ---- The literal phases, record by record ------------------------------------

struct Literal {
    QString dir;
    QString f(QStringView name) const { return joinPath(dir, name); }

    static void sortAsc(std::vector<QByteArray>& keys, std::vector<qint64>& comp, long n) {
        if (n >= 1) rwtest::literalQuickSort<true>(keys, comp, 1, n);
    }

    template <class Written, class OnNew>
    static void onePerKey(RecordFile& src, const std::vector<QByteArray>& keys, const std::vector<qint64>& comp,
                          long n, std::vector<RecordFile*> outs, Written written, OnNew onNew) {
        qint64 k = 0;
        for (long p = 1; p <= n; ++p) {
            const QByteArray rec = src.read(comp[size_t(p)]);
            if (keys[size_t(p)] != keys[size_t(p) - 1]) {
                onNew(keys[size_t(p)]);
                if (written(rec)) {
                    ++k;
                    for (auto* o : outs) o->write(k, rec);
                }
            } else if (written(rec)) {
                for (auto* o : outs) o->write(k, rec);
            }
        }
    }

    static QByteArray mid(const QByteArray& r, const Field& f) { return r.mid(f.pos - 1, f.width); }
    static bool notOneOrNine(const QByteArray& r) { return r[2] != '1' && r[2] != '9'; }

    void sortPhase(const char16_t* in, const char16_t* out, const char16_t* outd, int len,
                   QByteArray (*key)(const QByteArray&)) const {
        RecordFile src(f(in), len);
        const long n = long(src.count());
        std::vector<QByteArray> keys(size_t(n) + 1);
        std::vector<qint64> comp(size_t(n) + 1, 0);
        for (long i = 1; i <= n; ++i) keys[size_t(i)] = key(src.read(i)), comp[size_t(i)] = i;
        sortAsc(keys, comp, n);
        QFile::remove(f(out));
        QFile::remove(f(outd));
        RecordFile a(f(out), len), b(f(outd), len);
        onePerKey(src, keys, comp, n, {&a, &b}, notOneOrNine, [](const QByteArray&) {});
    }

    void sortingPhases() const {
        sortPhase(u"RATHISWEEKN.dat", u"RATHISWEEKNNEW.dat", u"RATHISWEEKNNEWd.dat", 1272, [](const QByteArray& r) {
            return mid(r, head::Year) + mid(r, head::MonthDay) + mid(r, head::DataKind) + mid(r, head::Racecourse) +
                   mid(r, head::RaceNumber);
        });
        {
            RecordFile se(f(u"SETHISWEEKN.dat"), 555), tmp(f(u"TEMPORARY"), 555);
            qint64 k = 0;
            for (qint64 i = 1; i <= se.count(); ++i) {
                const QByteArray r = se.read(i);
                if (r[2] != '1') tmp.write(++k, r);
            }
            se.close();
            QFile::remove(f(u"SETHISWEEKN.dat"));
            RecordFile back(f(u"SETHISWEEKN.dat"), 555);
            for (qint64 i = 1; i <= k; ++i) back.write(i, tmp.read(i));
            tmp.close();
            QFile::remove(f(u"TEMPORARY"));
        }
        sortPhase(u"SETHISWEEKN.dat", u"SETHISWEEKNNEW.dat", u"SETHISWEEKNNEWd.dat", 555, [](const QByteArray& r) {
            return mid(r, head::Year) + mid(r, head::MonthDay) + mid(r, head::DataKind) + mid(r, head::Racecourse) +
                   mid(r, head::RaceNumber) + mid(r, se::HorseNumber) + mid(r, se::RegistrationNumber);
        });
        RecordFile um(f(u"UMTHISWEEKN.dat"), 1609);
        const long n = long(um.count());
        std::vector<QByteArray> horse(size_t(n) + 1), dam(size_t(n) + 1);
        std::vector<qint64> hc(size_t(n) + 1, 0), dc(size_t(n) + 1, 0);
        for (long i = 1; i <= n; ++i) {
            const QByteArray r = um.read(i);
            horse[size_t(i)] = mid(r, um::RegistrationNumber);
            dam[size_t(i)] = mid(r, um::DamNumber);
            hc[size_t(i)] = dc[size_t(i)] = i;
        }
        sortAsc(horse, hc, n);
        emptyTextFile(f(u"KETTONUMTHISWEEKN.dat"));
        QFile::remove(f(u"UMTHISWEEKNNEW.dat"));
        RecordFile umNew(f(u"UMTHISWEEKNNEW.dat"), 1609);
        onePerKey(um, horse, hc, n, {&umNew}, [](const QByteArray&) { return true; },
                  [&](const QByteArray& key) { appendValues(f(u"KETTONUMTHISWEEKN.dat"), {CsvValue::text(key)}); });
        sortAsc(dam, dc, n);
        emptyTextFile(f(u"HAHAHANNUMTHISWEEKN.dat"));
        for (long p = 1; p <= n; ++p)
            if (dam[size_t(p)] != dam[size_t(p) - 1]) appendValues(f(u"HAHAHANNUMTHISWEEKN.dat"), {CsvValue::text(dam[size_t(p)])});
    }

    static QByteArray runKey(const QByteArray& r) {
        return mid(r, head::MakeDate) + mid(r, head::Year) + mid(r, head::MonthDay) + mid(r, head::RaceNumber) +
               mid(r, se::HorseNumber) + mid(r, se::RegistrationNumber);
    }

    void runFilePhase(bool firstMatch) const {
        QDir().mkpath(f(u"UMAGOTOTHISWEEKN"));
        const QList<QByteArray> list = readValues(f(u"KETTONUMTHISWEEKN.dat"));
        auto path = [&](const QByteArray& reg) { return f(QStringLiteral("UMAGOTOTHISWEEKN\\") + QString::fromLatin1(reg) + QStringLiteral(".dat")); };
        for (const auto& reg : list) {
            QFile::remove(path(reg));
            RecordFile(path(reg), 555).close();
        }
        RecordFile entries(f(u"SETHISWEEKNNEW.dat"), 555);
        for (qint64 i = 1; i <= entries.count(); ++i) {
            const QByteArray rec = entries.read(i);
            const QByteArray key = runKey(rec);
            for (const auto& reg : list) {
                if (reg != mid(rec, se::RegistrationNumber)) continue;
                RecordFile run(path(reg), 555);
                const qint64 r = run.count();
                if (r == 0) {
                    run.write(1, rec);
                    continue;
                }
                std::vector<QByteArray> table(size_t(std::max<qint64>(r, 200)) + 1);
                for (qint64 q = 1; q <= r; ++q) table[size_t(q)] = runKey(run.read(q));
                qint64 found = 0;
                for (qint64 q = 1; q <= r; ++q) {
                    if (table[size_t(q)].mid(8) == key.mid(8) &&
                        valLenient(table[size_t(q)].left(8)) <= valLenient(key.left(8))) {
                        found = q;
                        if (firstMatch) break;
                    }
                }
                run.write(found ? found : r + 1, rec);
            }
        }
    }
};

using rwtest::filesUnder;

// ---- A small random week with every awkward case ---------------------------

Week randomWeek(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](const std::vector<QByteArray>& v) { return v[rng() % v.size()]; };
    const std::vector<QByteArray> dates = {"20240525", "20240601", "20240629", "20240630"};
    const std::vector<QByteArray> courses = {"05", "06"};
    const std::vector<QByteArray> raceNos = {"01", "02", "11"};
    const std::vector<QByteArray> makes = {"20240520", "20240627", "20240628", "20240628", "20240701"};
    const char kinds[] = {'1', '2', '7', '9', '2', '7'};
    std::vector<QByteArray> regs;
    for (int i = 0; i < 12; ++i) regs.push_back(QByteArray::number(2019100000 + i * 7));
    const std::vector<QByteArray> dams = {"1990000001", "1990000002", "1990000003", "0000000000"};

    Week w;
    int serial = 0;
    auto tag = [&] { return "T" + QByteArray::number(++serial); };
    const int races = 4 + int(rng() % 8);
    for (int i = 0; i < races; ++i) {
        const Race x{pick(dates), pick(courses), pick(raceNos)};
        for (int d = 0, nd = 1 + int(rng() % 3); d < nd; ++d) w.ra.append(RA(x, kinds[rng() % 6], pick(makes), tag()));
        for (int h = 0, nh = 1 + int(rng() % 5); h < nh; ++h) {
            const QByteArray reg = pick(regs);
            const QByteArray horseNo = QByteArray::number(1 + int(rng() % 3)).rightJustified(2, '0');
            for (int d = 0, nd = 1 + int(rng() % 4); d < nd; ++d) {
                Race y = x;
                if (rng() % 4 == 0) y.course = pick(courses);  // same run identity, other sort key
                w.se.append(SE(y, kinds[rng() % 6], horseNo, reg, pick(makes), tag()));
            }
        }
    }
    // Horse master: most horses, some twice, some without entries.
    for (int i = 0; i < 10; ++i) {
        const QByteArray reg = i < 9 ? regs[size_t(rng() % 10)] : QByteArray("2018999999");
        w.um.append(UM(reg, pick(dams), tag(), kinds[rng() % 6]));
    }
    std::shuffle(w.ra.begin(), w.ra.end(), rng);
    std::shuffle(w.se.begin(), w.se.end(), rng);
    return w;
}

}  // namespace

// ---- Byte for byte against the literal phases -------------------------------

TEST(Structure, EveryOutputEqualsTheLiteralStepsByteForByte) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u}) {
        SCOPED_TRACE(seed);
        const Week w = randomWeek(seed);
        AppFolder app;
        QTemporaryDir refDir;
        const Literal ref{refDir.path() + QStringLiteral("/")};
        app.write(QStringLiteral("OPTION1N\\KYOSOBA.dat"), "x");
        QDir().mkpath(ref.f(u"OPTION1N"));
        rwtest::writeFile(ref.f(u"OPTION1N\\KYOSOBA.dat"), "x");
        w.writeTo(app.path());
        w.writeTo(ref.dir);
        // A stale run file of a listed horse, and one of a horse not listed.
        for (const QString& d : {app.path(), ref.dir}) {
            QDir().mkpath(joinPath(d, u"UMAGOTOTHISWEEKN"));
            rwtest::writeFile(joinPath(d, u"UMAGOTOTHISWEEKN\\2019100007.dat"), blank(Kind::SE));
            rwtest::writeFile(joinPath(d, u"UMAGOTOTHISWEEKN\\1111111111.dat"), blank(Kind::SE));
        }

        auto run = runStructure(app);
        ref.sortingPhases();
        ref.runFilePhase(false);
        ASSERT_TRUE(run->ran);
        EXPECT_TRUE(run->log.empty());
        const auto mine = filesUnder(app.path()), theirs = filesUnder(ref.dir);
        ASSERT_EQ(mine.size(), theirs.size());
        for (const auto& [name, bytes] : theirs) {
            ASSERT_TRUE(mine.count(name)) << name.toStdString();
            EXPECT_EQ(mine.at(name), bytes) << name.toStdString();
        }
        // The week holds placements of every kind.
        EXPECT_GT(split(app.read(QStringLiteral("SETHISWEEKNNEW.dat")), Kind::SE).size(), 3);

        // Cancellation's placement: the first match is replaced.
        RecordingUi ui;
        SkipLog log("cancel");
        FillHorseRunFiles(ui, log, RunMatch::First);
        ref.runFilePhase(true);
        EXPECT_EQ(filesUnder(app.path()), filesUnder(ref.dir));
    }
}

// ---- What the phases must show ---------------------------------------------

TEST(Structure, DuplicateKeysKeepTheRecordTheSortLeavesLast) {
    AppFolder app;
    const Race r1{"20240629", "05", "11"}, r2{"20240629", "05", "12"};
    Week w;
    // Two and three equal keys: QuickSortAsc leaves the first delivered last.
    w.ra = {RA(r1, '2', "20240627", "A1"), RA(r2, '2', "20240627", "B1"), RA(r1, '2', "20240628", "A2")};
    w.se = {SE(r1, '2', "01", H1, "20240627", "S1"), SE(r1, '2', "01", H1, "20240628", "S2"),
            SE(r1, '2', "01", H1, "20240628", "S3")};
    w.um = {UM(H1, "1990000001", "U1"), UM(H1, "1990000001", "U2")};
    w.writeTo(app.path());
    runStructure(app);
    EXPECT_EQ(tags(app.read(QStringLiteral("RATHISWEEKNNEW.dat")), Kind::RA), (QList<QByteArray>{"A1", "B1"}));
    EXPECT_EQ(tags(app.read(QStringLiteral("SETHISWEEKNNEW.dat")), Kind::SE), (QList<QByteArray>{"S1"}));
    EXPECT_EQ(tags(app.read(QStringLiteral("UMTHISWEEKNNEW.dat")), Kind::UM), (QList<QByteArray>{"U1"}));
}

TEST(Structure, KindsTwoAndSevenAreBothKeptAndOneAndNineNever) {
    AppFolder app;
    const Race a{"20240629", "05", "11"}, b{"20240629", "05", "01"}, c{"20240629", "06", "01"};
    Week w;
    w.ra = {RA(a, '7', "20240630", "A7"), RA(b, '9', "20240628", "B9"), RA(a, '2', "20240628", "A2"),
            RA(c, '1', "20240626", "C1")};
    w.se = {SE(a, '7', "01", H1, "20240630", "A7"), SE(b, '9', "02", H1, "20240628", "B9"),
            SE(a, '2', "01", H1, "20240628", "A2"), SE(c, '1', "03", H2, "20240626", "C1")};
    w.writeTo(app.path());
    runStructure(app);
    for (const char* f : {"RATHISWEEKNNEW.dat", "RATHISWEEKNNEWd.dat"})
        EXPECT_EQ(tags(app.read(QLatin1String(f)), Kind::RA), (QList<QByteArray>{"A2", "A7"})) << f;
    for (const char* f : {"SETHISWEEKNNEW.dat", "SETHISWEEKNNEWd.dat"})
        EXPECT_EQ(tags(app.read(QLatin1String(f)), Kind::SE), (QList<QByteArray>{"A2", "A7"})) << f;
    EXPECT_EQ(app.read(QStringLiteral("RATHISWEEKNNEW.dat")), app.read(QStringLiteral("RATHISWEEKNNEWd.dat")));
    EXPECT_EQ(app.read(QStringLiteral("SETHISWEEKNNEW.dat")), app.read(QStringLiteral("SETHISWEEKNNEWd.dat")));
}

TEST(Structure, TheWeekFileLosesKindOneAndKeepsItsOrder) {
    AppFolder app;
    const Race a{"20240629", "05", "11"};
    Week w;
    w.se = {SE(a, '7', "01", H1, "20240630", "E1"), SE(a, '1', "02", H2, "20240626", "E2"),
            SE(a, '9', "03", H3, "20240628", "E3"), SE(a, '1', "04", H3, "20240626", "E4"),
            SE(a, '2', "05", H2, "20240628", "E5")};
    w.writeTo(app.path());
    app.write(QStringLiteral("TEMPORARY"), blank(Kind::SE).repeated(9));  // left over from an earlier run
    runStructure(app);
    EXPECT_EQ(app.read(QStringLiteral("SETHISWEEKN.dat")), join({w.se[0], w.se[2], w.se[4]}));
    EXPECT_FALSE(app.exists(QStringLiteral("TEMPORARY")));
}

TEST(Structure, AFailedFilterLeavesTheWeekFileIntact) {
#ifndef __linux__
    GTEST_SKIP() << "needs a file size limit";
#else
    AppFolder app;
    const Race a{"20240629", "05", "11"};
    Week w;
    w.se = {SE(a, '1', "01", H1, "20240626", "E1"), SE(a, '2', "02", H2, "20240628", "E2"),
            SE(a, '7', "03", H3, "20240630", "E3")};
    w.um = {UM(H2, "1990000001", "U2")};
    w.writeTo(app.path());
    // The disk fills up while the filtered records are written: past one
    // record every write fails.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 600;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    auto run = runStructure(app);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_EQ(app.read(QStringLiteral("SETHISWEEKN.dat")), join(w.se));
    EXPECT_FALSE(app.exists(QStringLiteral("TEMPORARY")));
    bool filterSkipped = false;
    for (const auto& s : run->log.skipped()) filterSkipped |= s.rfind("entry filter", 0) == 0;
    EXPECT_TRUE(filterSkipped);

    // With room again, the next run filters as usual.
    runStructure(app);
    EXPECT_EQ(app.read(QStringLiteral("SETHISWEEKN.dat")), join({w.se[1], w.se[2]}));
    EXPECT_FALSE(app.exists(QStringLiteral("TEMPORARY")));
#endif
}

// The disk fills during a second press on the same week: every file the
// press rewrites whole holds its old bytes or its new ones (here the same),
// never a part, and the failures are reported, not hidden.
TEST(Structure, ADiskThatFillsLeavesEveryFileWholeAndSaysSo) {
    AppFolder app;
    randomWeek(3).writeTo(app.path());
    runStructure(app);
    const auto before = filesUnder(app.path());
    ASSERT_GT(app.read(QStringLiteral("KETTONUMTHISWEEKN.dat")).size(), 100);
    decltype(runStructure(app)) run;
    {
        rwtest::FileSizeLimit full(100);
        run = runStructure(app);
    }
    EXPECT_EQ(filesUnder(app.path()), before);
    bool listSkipped = false;
    for (const auto& s : run->log.skipped()) listSkipped |= s.find("KETTONUMTHISWEEKN.dat") != std::string::npos;
    EXPECT_TRUE(listSkipped);
    // The end text stays the system's own.
    EXPECT_TRUE(run->ui.texts.value(kText4).startsWith(QString::fromUtf8("構造体処理終了")));
}

TEST(Structure, OneListLinePerHorseAndPerDam) {
    AppFolder app;
    Week w;
    w.um = {UM(H2, "1990000002", "a"), UM(H1, "1990000001", "b"), UM(H2, "1990000002", "c"),
            UM(H3, "1990000002", "d")};
    w.writeTo(app.path());
    runStructure(app);
    EXPECT_EQ(app.read(QStringLiteral("KETTONUMTHISWEEKN.dat")),
              QByteArray("\"2019100001\"\r\n\"2019100002\"\r\n\"2019100003\"\r\n"));
    EXPECT_EQ(app.read(QStringLiteral("HAHAHANNUMTHISWEEKN.dat")), QByteArray("\"1990000001\"\r\n\"1990000002\"\r\n"));
    EXPECT_EQ(split(app.read(QStringLiteral("UMTHISWEEKNNEW.dat")), Kind::UM).size(), 3);
}

TEST(Structure, RunFilesFollowTheMakeDateRules) {
    // Kind "2" sorts before kind "7" of the same race: the "7" delivery is
    // placed second.
    struct Case {
        const char* name;
        QByteArray make2, make7;
        QList<QByteArray> expected;
    };
    const Race a{"20240629", "05", "11"};
    for (const Case& c : {Case{"older then newer", "20240627", "20240630", {"K7"}},
                          Case{"newer then older", "20240630", "20240627", {"K2", "K7"}},
                          Case{"equal", "20240628", "20240628", {"K7"}}}) {
        SCOPED_TRACE(c.name);
        AppFolder app;
        Week w;
        const Race past{"20240601", "06", "03"};
        w.se = {SE(a, '7', "04", H1, c.make7, "K7"), SE(a, '2', "04", H1, c.make2, "K2"),
                SE(past, '7', "09", H1, "20240603", "P")};
        w.um = {UM(H1, "1990000001", "U")};
        w.writeTo(app.path());
        runStructure(app);
        EXPECT_EQ(tags(runFile(app, H1), Kind::SE), QList<QByteArray>{"P"} + c.expected);
    }
}

TEST(RunFiles, TheFirstOrTheLastMatchIsReplaced) {
    // Same run at two courses (the course is not part of the run): the file
    // holds the newer delivery, then the older one; a third delivery as new
    // as the first may replace either.
    AppFolder app;
    const Race a{"20240629", "05", "11"}, b{"20240629", "06", "11"};
    const QList<QByteArray> entries = {SE(a, '2', "04", H1, "20240630", "A"), SE(a, '7', "04", H1, "20240627", "B"),
                                       SE(b, '7', "04", H1, "20240630", "C")};
    app.write(QStringLiteral("SETHISWEEKNNEW.dat"), join(entries));
    app.write(QStringLiteral("KETTONUMTHISWEEKN.dat"), "\"2019100001\"\r\n");
    for (auto [match, expected] : {std::pair{RunMatch::Last, QList<QByteArray>{"A", "C"}},
                                   std::pair{RunMatch::First, QList<QByteArray>{"C", "B"}}}) {
        RecordingUi ui;
        SkipLog log("runs");
        FillHorseRunFiles(ui, log, match);
        EXPECT_EQ(tags(runFile(app, H1), Kind::SE), expected);
        EXPECT_EQ(ui.eventTurns, 3) << "events once per entry record";
    }
}

TEST(Structure, HorsesWithoutEntriesAndEntriesWithoutHorses) {
    AppFolder app;
    const Race a{"20240629", "05", "11"};
    Week w;
    w.se = {SE(a, '2', "01", H1, "20240628", "E1"), SE(a, '2', "02", H3, "20240628", "E3")};
    w.um = {UM(H1, "1990000001", "U1"), UM(H2, "1990000001", "U2")};  // H2 runs nowhere, H3 has no UM
    w.writeTo(app.path());
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100002.dat"), blank(Kind::SE));  // last week's
    runStructure(app);
    EXPECT_EQ(tags(runFile(app, H1), Kind::SE), (QList<QByteArray>{"E1"}));
    EXPECT_TRUE(app.exists(QStringLiteral("UMAGOTOTHISWEEKN\\2019100002.dat")));
    EXPECT_EQ(runFile(app, H2), QByteArray());
    EXPECT_FALSE(app.exists(QStringLiteral("UMAGOTOTHISWEEKN\\2019100003.dat")));
}

TEST(Structure, MessagesEventsAndTheUmCountBeforeDeduplication) {
    AppFolder app;
    const Race a{"20240629", "05", "11"};
    Week w;
    w.se = {SE(a, '2', "01", H1, "20240628", "E1"), SE(a, '2', "02", H2, "20240628", "E2"),
            SE(a, '1', "03", H2, "20240628", "E3")};
    w.um = {UM(H1, "1990000001", "U1"), UM(H1, "1990000001", "U1b"), UM(H2, "1990000001", "U2")};
    w.writeTo(app.path());
    auto run = runStructure(app);
    EXPECT_EQ(run->ui.textLog,
              (QStringList{QStringLiteral("KESF1THISWEEKNZ.Label1: ") + run->ui.texts.value(QStringLiteral("KESF1THISWEEKNZ.Label1")),
                           QString::fromUtf8("KESF1THISWEEKNZ.Text4: 構造体処理を開始しました。しばらくお待ちください。。。。。。。"),
                           QString::fromUtf8("KESF1THISWEEKNZ.Text4: 構造体処理終了  3"),
                           QString::fromUtf8("KOUZOUTAIZ.Text1: 中止処理を選択した場合、中止処理終了が出ますので暫くお待ち下さい。")}));
    EXPECT_TRUE(run->ui.texts.value(QStringLiteral("KESF1THISWEEKNZ.Label1")).startsWith(QString::fromUtf8("予想因子ウエイトは展開されています。作成日は ")));
    EXPECT_FALSE(run->ui.texts.value(QStringLiteral("KESF1THISWEEKNZ.Label1")).contains(QString::fromUtf8("サポートサイト")));
    EXPECT_EQ(run->ui.colors.value(QStringLiteral("KESF1THISWEEKNZ.Label1")), 0x80FF80u);
    EXPECT_EQ(run->ui.eventTurns, 1 + 2);  // after the start message, then once per entry
    EXPECT_TRUE(run->ui.messages.isEmpty());
    EXPECT_TRUE(run->started.isEmpty());
}

TEST(Structure, AMissingPackageIsReportedAndTheWorkGoesOn) {
    AppFolder app;
    auto run = runStructure(app, /*withPackage=*/false);
    EXPECT_EQ(run->ui.messages,
              QStringList{app.path() + QString::fromUtf8("に参照場所(展開フォルダ）に合わせてOKをクリックして初回予想因子パラメータをセットして下さい。")});
    EXPECT_EQ(run->started, QStringList{app.path() + QStringLiteral("NEWSFX.EXE")});
    EXPECT_FALSE(run->ui.texts.contains(QStringLiteral("KESF1THISWEEKNZ.Label1")));
    EXPECT_EQ(run->ui.texts.value(kText4), QString::fromUtf8("構造体処理終了  0"));
}

TEST(Structure, AnEmptyWeekGivesEmptyOutputs) {
    AppFolder app;
    auto run = runStructure(app);
    EXPECT_EQ(run->ui.texts.value(kText4), QString::fromUtf8("構造体処理終了  0"));
    for (const char* f : {"RATHISWEEKNNEW.dat", "RATHISWEEKNNEWd.dat", "SETHISWEEKNNEW.dat", "SETHISWEEKNNEWd.dat",
                          "UMTHISWEEKNNEW.dat", "KETTONUMTHISWEEKN.dat", "HAHAHANNUMTHISWEEKN.dat", "SETHISWEEKN.dat",
                          "RATHISWEEKN.dat", "UMTHISWEEKN.dat"}) {
        EXPECT_TRUE(app.exists(QLatin1String(f))) << f;
        EXPECT_EQ(app.read(QLatin1String(f)), QByteArray()) << f;
    }
    EXPECT_FALSE(app.exists(QStringLiteral("TEMPORARY")));
    EXPECT_TRUE(run->log.empty());
}

// ---- Mends -------------------------------------------------------------------

TEST(Structure, RunFilesGrowBeyondTwoHundredRecords) {
    AppFolder app;
    Week w;
    QList<QByteArray> expected;
    for (int i = 0; i < 230; ++i) {
        const Race x{QByteArray::number(20200101 + (i / 12) * 100 + i % 12 + 1), "05", "01"};
        w.se.append(SE(x, '2', "01", H1, "20190101", "A" + QByteArray::number(i)));
        w.se.append(SE(x, '7', "01", H1, "20190102", "B" + QByteArray::number(i)));
        expected.append("B" + QByteArray::number(i));
    }
    // The 230th run delivered once more, at another course and as new: it
    // replaces the last record of that run.
    const Race last{QByteArray::number(20200101 + (229 / 12) * 100 + 229 % 12 + 1), "06", "01"};
    w.se.append(SE(last, '7', "01", H1, "20190102", "C"));
    expected.last() = "C";
    w.um = {UM(H1, "1990000001", "U")};
    w.writeTo(app.path());
    auto run = runStructure(app);
    EXPECT_TRUE(run->log.empty());
    EXPECT_EQ(tags(runFile(app, H1), Kind::SE), expected);
}

TEST(Structure, ASecondPressWhileRunningIsIgnored) {
    AppFolder app;
    const Race a{"20240629", "05", "11"};
    Week w;
    w.se = {SE(a, '2', "01", H1, "20240628", "E1"), SE(a, '2', "02", H2, "20240628", "E2")};
    w.um = {UM(H1, "1990000001", "U1"), UM(H2, "1990000001", "U2")};
    w.writeTo(app.path());
    app.write(QStringLiteral("OPTION1N\\KYOSOBA.dat"), "x");

    RecordingUi ui;
    SkipLog log("structure");
    int inner = 0;
    std::vector<bool> innerRan;
    ui.onEvents = [&] {
        ++inner;
        RecordingUi other;
        SkipLog otherLog("structure");
        innerRan.push_back(RunStructureProcessing(other, otherLog));
        // Only the refusal, in ②'s status box.
        ASSERT_EQ(other.textLog.size(), 1);
        EXPECT_TRUE(other.textLog[0].startsWith(QStringLiteral("KESF1THISWEEKNZ.Text4: 他の処理の実行中")))
            << other.textLog[0].toStdString();
        EXPECT_TRUE(otherLog.empty());
    };
    EXPECT_TRUE(RunStructureProcessing(ui, log));
    EXPECT_EQ(inner, 3);
    EXPECT_EQ(innerRan, std::vector<bool>(3, false));
    EXPECT_EQ(ui.textLog.filter(QString::fromUtf8("構造体処理を開始")).size(), 1);
    EXPECT_EQ(tags(runFile(app, H1), Kind::SE), (QList<QByteArray>{"E1"}));
    EXPECT_EQ(tags(runFile(app, H2), Kind::SE), (QList<QByteArray>{"E2"}));
    EXPECT_FALSE(WeeklyStoreGuard::busy());
    ui.onEvents = nullptr;
    EXPECT_TRUE(RunStructureProcessing(ui, log)) << "free again afterwards";
}

TEST(Structure, RegistrationNumbersThatAreNotTenDigitsNameNoFile) {
    AppFolder app;
    const Race a{"20240629", "05", "11"};
    const QByteArray escape = "..\\..\\evil";  // ten bytes
    Week w;
    w.se = {SE(a, '2', "01", escape, "20240628", "X"), SE(a, '2', "02", "12345ABCDE", "20240628", "Y"),
            SE(a, '2', "03", H1, "20240628", "E1")};
    w.um = {UM(escape, "1990000001", "U"), UM("12345ABCDE", "1990000001", "V"), UM(H1, "1990000001", "W")};
    w.writeTo(app.path());
    const QString outside = QDir::cleanPath(app.path() + QStringLiteral("UMAGOTOTHISWEEKN/../../evil.dat"));
    QFile::remove(outside);
    auto run = runStructure(app);
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_EQ(QDir(app.file(QStringLiteral("UMAGOTOTHISWEEKN"))).entryList(QDir::Files),
              QStringList{QStringLiteral("2019100001.dat")});
    EXPECT_EQ(tags(runFile(app, H1), Kind::SE), (QList<QByteArray>{"E1"}));
    // Two list values and two entries skipped, each on record.
    ASSERT_EQ(run->log.skipped().size(), 4u);
    for (const auto& s : run->log.skipped()) EXPECT_NE(s.find("not ten digits"), std::string::npos) << s;
    // The list itself still lists every horse of the week.
    EXPECT_EQ(readValues(app.file(QStringLiteral("KETTONUMTHISWEEKN.dat"))).size(), 3);
}
