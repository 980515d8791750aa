// The sample installation's code table names every code of the generated
// records that the system looks up.
#include "common/kestrav_path.h"
#include "jvdata/records.h"
#include "prediction/code_table.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

using namespace rw;
using namespace rw::jv;

TEST(SampleCodeTable, NamesEveryCodeTheWeeksRecordsUse) {
    QTemporaryDir dir;
    sample::generate({sample::Scale::Typical, sample::Scenario::Monday, 1}, dir.path());
    SetProgramFolder(dir.path());
    AppPath = GetAppPath();
    prediction::CodeTable codes;
    prediction::LoadCodeTable(codes);
    ASSERT_FALSE(codes.rows.isEmpty());
    std::set<std::string> missing;
    auto need = [&](const char* table, QByteArrayView code, int column) {
        const auto v = prediction::CodeLookup(codes, table, code, column);
        // Every code has its row; only the "not set" codes have no name.
        const bool unset = code.toByteArray().count('0') == code.size();
        if (!v || (v->isEmpty() && !unset)) missing.insert(std::string(table) + ":" + code.toByteArray().toStdString());
    };
    auto item = [](const QByteArray& r, Field f) { return r.mid(f.pos - 1, f.width); };
    int races = 0;
    for (const char* folder : {"RACE", "TOKU"}) {
        QDir d(dir.path() + "/JVDATA/" + folder);
        for (const QString& name : d.entryList({QStringLiteral("*.jvd")}, QDir::Files))
            for (const QByteArray& r : rwtest::splitRecords(rwtest::readFile(d.filePath(name)))) {
                if (r.startsWith("RA")) {
                    ++races;
                    need("2001", item(r, head::Racecourse), 4);
                    need("2001", item(r, head::Racecourse), 6);
                    need("2002", item(r, ra::WeekdayCode), 4);
                    need("2005", item(r, ra::RaceTypeCode), 4);
                    need("2007", item(r, findField(kRA, "race condition codes", {}, 4)), 2);
                    need("2009", item(r, ra::TrackCode), 3);
                    need("2011", item(r, ra::WeatherCode), 2);
                    need("2010", item(r, ra::TurfGoingCode), 2);
                    need("2010", item(r, ra::DirtGoingCode), 2);
                    if (item(r, ra::GradeCode) != " ") need("2003", item(r, ra::GradeCode), 2);
                } else if (r.startsWith("SE")) {
                    need("2202", item(r, se::SexCode), 2);
                }
            }
    }
    EXPECT_GT(races, 500);
    std::string list;
    for (const auto& m : missing) list += m + " ";
    EXPECT_TRUE(missing.empty()) << list;
    SetProgramFolder(QString());
}
