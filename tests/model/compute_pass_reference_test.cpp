// The compute pass against its step-by-step reading on small random weeks:
// every file of the application folder byte for byte, and the same horses
// abandoned.
#include "common/paths.h"
#include "common/record_file.h"
#include "support/recording_ui.h"
#include "model/compute_pass.h"
#include "model/expanded_record.h"
#include "model/item_rules.h"
#include "model/package_files.h"
#include "support/literal_compute_pass.h"
#include "support/random_compute_week.h"
#include "support/random_expanded_week.h"
#include "support/test_support.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <set>

using namespace rw::model;

namespace {

ExpandedState windowWith(const QList<QByteArray>& list) {
    ExpandedState st;
    LoadFactorModel(Surface::Turf, st.TurfModel);
    LoadFactorModel(Surface::Dirt, st.DirtModel);
    LoadFactorModel(Surface::Jump, st.JumpModel);
    st.WeekList = list;
    st.WeekListCount = int(list.size());
    return st;
}

std::set<std::string> abandonedHorses(const rw::SkipLog& log) {
    std::set<std::string> horses;
    for (const std::string& line : log.skipped())
        if (line.find("horse ") != std::string::npos) horses.insert(line.substr(0, line.find(':')));
    return horses;
}

}  // namespace

TEST(ComputePassReference, FilesEqualTheStepByStepReading) {
    int inScope = 0, found = 0, missing = 0, abandoned = 0, seeds = 12;
    for (int seed = 1; seed <= seeds; ++seed) {
        rwtest::AppFolder app;
        QRandomGenerator rng{quint32(seed)};
        const QList<QByteArray> list = rwtest::writeRandomComputeWeek(rng, 9);
        const auto week = rwtest::snapshotApp();
        {
            // A first pass without a model gives the codes the model lists.
            ExpandedState st = windowWith(list);
            rw::RecordingUi ui;
            rw::SkipLog log("codes");
            ComputeRunFactors(ui, st, log);
        }
        rwtest::writeModelFromCodes(rng, list);
        auto start = week;
        for (const auto& [name, bytes] : rwtest::snapshotApp())
            if (name.contains(QStringLiteral("201401N2018"))) start[name] = bytes;
        if (seed % 4 == 0) start.erase(QStringLiteral("OPTION1N/QA1DirtPaceWeightData201401N2018.dat"));
        if (seed % 6 == 0) start.erase(QStringLiteral("OPTION1N/ShogItemCategory201401N2018.dat"));

        rwtest::restoreApp(start);
        ExpandedState reference = windowWith(list);
        rw::SkipLog referenceLog("reference");
        rwtest::literalComputeRunFactors(reference, referenceLog);
        const auto expected = rwtest::snapshotApp();

        rwtest::restoreApp(start);
        ExpandedState st = windowWith(list);
        rw::RecordingUi ui;
        rw::SkipLog log("compute");
        ComputeRunFactors(ui, st, log);
        const auto actual = rwtest::snapshotApp();

        ASSERT_EQ(actual.size(), expected.size()) << "seed " << seed;
        for (const auto& [name, bytes] : expected) {
            const auto it = actual.find(name);
            ASSERT_NE(it, actual.end()) << "seed " << seed << ": " << name.toStdString();
            if (it->second == bytes) continue;
            qsizetype i = 0;
            while (i < bytes.size() && i < it->second.size() && bytes[i] == it->second[i]) ++i;
            ADD_FAILURE() << "seed " << seed << ": " << name.toStdString() << " differs at byte " << i
                          << " (record " << i / kExRecordLength + 1 << ", offset " << i % kExRecordLength << ")";
        }
        EXPECT_EQ(abandonedHorses(log), abandonedHorses(referenceLog)) << "seed " << seed;
        abandoned += int(abandonedHorses(log).size());

        for (const QByteArray& number : list) {
            if (!rw::isRegistrationNumber(number)) continue;
            for (const QByteArray& r : rw::RecordFile::readAll(ExpandedRecordFile(number), kExRecordLength)) {
                const QByteArray index = get(r, ex::CategoryIndex(1)).toByteArray();
                if (index == "    " || index.contains('\0')) continue;
                ++inScope;
                for (int k = 1; k <= 30; ++k) (get(r, ex::CategoryIndex(k)) == "0   " ? missing : found)++;
            }
        }
    }
    // The weeks reach what they are made for.
    EXPECT_GT(inScope, 100);
    EXPECT_GT(found, 20 * inScope);
    EXPECT_GT(missing, inScope);
    EXPECT_GT(abandoned, seeds);
}
