#include "support/literal_expanded.h"

#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "support/literal_compute_pass.h"

#include <QFile>
#include <cmath>
#include <stdexcept>

namespace rwtest {
namespace {

using rw::RecordFile;

// 1-based JV-Data positions, offsets from 0 in the expanded record.
QByteArray at(const QByteArray& rec, int pos, int width) { return rec.mid(pos - 1, width); }
void place(QByteArray& rec, int offset, int width, const QByteArray& v) {
    QByteArray f = v.left(width);
    f += QByteArray(width - f.size(), ' ');
    rec.replace(offset, width, f);
}

struct UmRow {
    QByteArray reg, birth, sireNo, sireName, sireDam, breederCode, breederName, area, invited, foal;
};
struct KsRow {
    QByteArray code, birth, invited, sex, qual;
};
struct RaRow {
    QByteArray key, items1, items2, weekday;
};

qint64 nearestCount(const QString& path, int length) {
    QFile f(path);
    return qint64(std::nearbyint(double(f.size()) / length));
}

QByteArray damFoalOrder(const QByteArray& um) {
    const QString path = rw::AppFile(u"OPTION1N\\HNSKOPTION1N.dat");
    RecordFile f(path, 22);
    const qint64 c = nearestCount(path, 22);
    const QByteArray dam = at(um, 251, 10), reg = at(um, 12, 10);
    int p = 0;
    for (qint64 j = 1; j <= c; ++j) {
        if (f.read(j).left(10) != dam) continue;
        for (int d = 0; d <= 20; ++d) {
            if (j + d > c) break;
            if (f.read(j + d).mid(10, 10) == reg) {
                p = d;
                break;
            }
        }
        break;
    }
    return QByteArray::number(p + 101).right(2);
}

}  // namespace

void literalBuildExpandedRecords(const QList<QByteArray>& weekList) {
    QByteArray ex(2603, '\0');
    UmRow horse;  // empty texts: blanks when written
    KsRow jockey;
    RaRow race;

    std::vector<UmRow> umTable;
    {
        RecordFile f(rw::AppFile(u"UMTHISWEEKNNEW.dat"), 1609);
        for (qint64 i = 1; i <= f.count(); ++i) {
            const QByteArray um = f.read(i);
            umTable.push_back({at(um, 12, 10), at(um, 39, 8), at(um, 205, 10), at(um, 215, 36), at(um, 343 + 10, 36),
                               at(um, 883, 8), at(um, 891, 72), at(um, 963, 20), at(um, 863, 20), damFoalOrder(um)});
        }
    }
    std::vector<KsRow> ksTable;
    for (const char16_t* name : {u"KSTHISWEEKN.dat", u"OPTION1N\\KS20200101NEW.dat"}) {
        RecordFile f(rw::AppFile(name), 4161);
        for (qint64 i = 1; i <= f.count(); ++i) {
            const QByteArray ks = f.read(i);
            ksTable.push_back({at(ks, 12, 5), at(ks, 34, 8), at(ks, 232, 20), at(ks, 228, 1), at(ks, 229, 1)});
        }
    }
    std::vector<RaRow> raTable;
    {
        RecordFile f(rw::AppFile(u"RATHISWEEKNNEW.dat"), 1272);
        for (qint64 i = 1; i <= f.count(); ++i) {
            const QByteArray ra = f.read(i);
            raTable.push_back({at(ra, 20, 2) + at(ra, 12, 4) + at(ra, 16, 4) + at(ra, 26, 2), at(ra, 615, 23),
                               at(ra, 698, 572), at(ra, 28, 1)});
        }
    }

    for (const QByteArray& r : weekList) {
        if (!rw::isRegistrationNumber(r)) continue;
        try {
            const QString exPath = rw::AppFile(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QString::fromLatin1(r) + QStringLiteral("EX.dat"));
            RecordFile exFile(exPath, 2603);
            RecordFile runFile(rw::AppFile(QStringLiteral("UMAGOTOTHISWEEKN\\") + QString::fromLatin1(r) + QStringLiteral(".dat")), 555);
            const qint64 n = runFile.count();
            if (n > 0) {
                for (const UmRow& row : umTable)
                    if (row.reg == r) horse = row;
                for (qint64 k = 1; k <= n; ++k) {
                    const QByteArray se = runFile.read(k);
                    const QByteArray key = at(se, 20, 2) + at(se, 12, 4) + at(se, 16, 4) + at(se, 26, 2);
                    for (const RaRow& row : raTable) {
                        if (row.key != key) continue;
                        jockey = KsRow{};
                        for (const KsRow& j : ksTable)
                            if (j.code == at(se, 297, 5)) jockey = j;
                        race = row;
                    }
                    ex.replace(0, 40, at(se, 1, 40));
                    place(ex, 40, 2, horse.foal);
                    place(ex, 42, 1, race.weekday);
                    place(ex, 43, 163, {});  // SpareText … SalePrice
                    place(ex, 206, 4, horse.birth.left(4));
                    place(ex, 210, 2, horse.birth.mid(4, 2));
                    place(ex, 212, 2, horse.birth.mid(6, 2));
                    place(ex, 214, 20, horse.invited);
                    place(ex, 234, 8, horse.breederCode);
                    place(ex, 242, 72, horse.breederName);
                    place(ex, 314, 20, horse.area);
                    place(ex, 334, 10, horse.sireNo);
                    place(ex, 344, 36, horse.sireName);
                    place(ex, 380, 58, {});  // sire birth year … dam area
                    place(ex, 508, 10, {});
                    place(ex, 554, 34, {});  // dam sire birth year, area, pedigree 5 number
                    place(ex, 624, 34, {});  // pedigree 5 birth year, area, pedigree 6 number
                    place(ex, 694, 34, {});  // pedigree 6 birth year, area, pedigree 7 number
                    place(ex, 728, 36, horse.sireDam);
                    place(ex, 764, 24, {});
                    place(ex, 788, 36, at(se, 41, 36));
                    place(ex, 825, 6, at(se, 77, 6));   // symbol, sex, breed, coat
                    place(ex, 831, 14, at(se, 85, 14)); // east/west, trainer code and name
                    place(ex, 845, 6, at(se, 99, 6));
                    place(ex, 915, 60, at(se, 169, 60));
                    place(ex, 975, 13, at(se, 289, 13)); // weights, blinker, spare, jockey code
                    place(ex, 988, 4, jockey.birth.left(4));
                    place(ex, 992, 2, jockey.birth.mid(4, 2));
                    place(ex, 994, 2, jockey.birth.mid(6, 2));
                    place(ex, 996, 1, jockey.sex);
                    place(ex, 997, 20, jockey.invited);
                    place(ex, 1017, 1, jockey.qual);
                    place(ex, 1018, 92, at(se, 302, 92));  // jockey before … last 3 furlongs
                    place(ex, 1110, 4, at(se, 532, 4));
                    place(ex, 1114, 23, race.items1);
                    place(ex, 1137, 572, race.items2);
                    ex.replace(2601, 2, at(se, 554, 2));
                    exFile.write(k, ex);
                }
            }
            exFile.close();
            RecordFile again(exPath, 2603);
            const qint64 m = again.count();
            if (m >= 2) {
                const QByteArray last = again.read(m), before = again.read(m - 1);
                auto date = [](const QByteArray& rec) { return rw::valLenient(rec.mid(3, 8)); };
                if (date(last) < date(before)) {
                    RecordFile temp(rw::AppFile(u"TEMPORARY"), 2603);
                    for (qint64 k = 1; k <= m - 1; ++k) temp.write(k, again.read(k));
                    again.close();
                    QFile::remove(exPath);
                    RecordFile fresh(exPath, 2603);
                    for (qint64 k = 1; k <= m - 1; ++k) fresh.write(k, temp.read(k));
                }
            }
        } catch (const std::exception&) {
            // Only this horse is abandoned.
        }
    }
}

namespace {

int readList(QList<QByteArray>& weekList, const char16_t* file) {
    int count = 0;
    for (const QByteArray& v : rw::readValues(rw::AppFile(file))) {
        ++count;
        if (count <= weekList.size()) weekList[count - 1] = v;
        else weekList.append(v);
    }
    return count;
}

void extract(const QList<QByteArray>& weekList, int count, const char16_t* package, const char16_t* out, int length) {
    const QString path = rw::AppFile(package);
    RecordFile in(path, length);
    const qint64 records = nearestCount(path, length);
    qint64 c = 0;
    for (qint64 i = 1; i <= records; ++i) {
        const QByteArray rec = in.read(i);
        for (int k = 0; k < count; ++k) {
            if (rec.left(10) != weekList[k]) continue;
            RecordFile o(rw::AppFile(out), length);
            o.write(++c, rec);
        }
    }
}

}  // namespace

void literalComputePress(QList<QByteArray>& weekList) {
    int count = readList(weekList, u"HAHAHANNUMTHISWEEKN.dat");
    extract(weekList, count, u"OPTION1N\\HAHAUMA.dat", u"OPTION1N\\HAHAUMATHISWEEK.dat", 402);
    count = readList(weekList, u"KETTONUMTHISWEEKN.dat");
    for (int k = 0; k < count; ++k) {
        if (!rw::isRegistrationNumber(weekList[k])) continue;
        const QString file = rw::AppFile(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QString::fromLatin1(weekList[k]) +
                                         QStringLiteral("EX.dat"));
        QFile::remove(file);
        RecordFile created(file, 2603);
    }
    extract(weekList, count, u"OPTION1N\\KYOSOBA.dat", u"OPTION1N\\KYOSOBATHISWEEK.dat", 228);
    literalBuildExpandedRecords(weekList.mid(0, count));
    rw::model::ExpandedState state;  // a window whose load found no model
    state.WeekList = weekList.mid(0, count);
    state.WeekListCount = count;
    rw::SkipLog log("literal compute pass");
    literalComputeRunFactors(state, log);
}

}  // namespace rwtest
