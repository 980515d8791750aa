#include "common/errors.h"
#include "common/kestrav_path.h"
#include "model/record_image.h"
#include "support/test_support.h"

#include <QDir>
#include <cerrno>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::model;

namespace {

// A part record dropped, or counted to the nearest and padded with zero
// bytes.
TEST(RecordImage, PartRecordsAreDroppedOrCountedToTheNearest) {
    rwtest::AppFolder app;
    const QByteArray rec(3, 'r');
    struct Case {
        QByteArray bytes;
        PartRecord part;
        QByteArray expected;
    };
    const Case cases[] = {
        {rec + "rr", PartRecord::Nearest, rec + QByteArray("rr\0", 3)},
        {rec + "r", PartRecord::Nearest, rec},
        {rec + "rr", PartRecord::Dropped, rec + "rr"},  // the whole read keeps the file's bytes
        {rec + "r", PartRecord::Dropped, rec + "r"},
        {{}, PartRecord::Nearest, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        app.write(QStringLiteral("F.dat"), c.bytes);
        qint64 count = -1;
        EXPECT_EQ(ReadRecordImage(AppFile(u"F.dat"), 3, c.part, &count), c.expected);
        EXPECT_EQ(count, c.bytes.size() / 3 + (c.part == PartRecord::Nearest && c.bytes.size() % 3 == 2));
    }
}

TEST(RecordImage, AMissingFileIsCreatedEmptyAndAFolderIsRefused) {
    rwtest::AppFolder app;
    qint64 count = -1;
    EXPECT_TRUE(ReadRecordImage(AppFile(u"M.dat"), 3, PartRecord::Dropped, &count).isEmpty());
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(app.exists(QStringLiteral("M.dat")));
    EXPECT_TRUE(RecordImageFile(AppFile(u"N.dat"), 3).records.isEmpty());
    EXPECT_TRUE(app.exists(QStringLiteral("N.dat")));

    QDir().mkpath(app.file(QStringLiteral("D.dat")));
    for (const bool whole : {false, true}) {
        try {
            if (whole)
                RecordImageFile(AppFile(u"D.dat"), 3);
            else
                ReadRecordImage(AppFile(u"D.dat"), 3, PartRecord::Nearest, &count);
            ADD_FAILURE() << "a folder was read";
        } catch (const StepFailure& e) {
            EXPECT_NE(std::string(e.what()).find("D.dat: not a regular file"), std::string::npos) << e.what();
        }
    }
}

// A record file read into one buffer per record is written back over its
// start; a part record beyond them stays.
TEST(RecordImage, RecordsAreWrittenBackOverThemselves) {
    rwtest::AppFolder app;
    app.write(QStringLiteral("R.dat"), "abcdefg");
    RecordImageFile f(AppFile(u"R.dat"), 3);
    ASSERT_EQ(f.records, QList<QByteArray>({"abc", "def"}));
    f.records[1] = "xyz";
    f.writeBack();
    EXPECT_EQ(app.read(QStringLiteral("R.dat")), "abcxyzg");
}

// A new file is written from its start, a link in its place is not
// followed, and creating where something stands fails.
TEST(RecordImage, NewFilesAreWrittenWithoutFollowingALink) {
    rwtest::AppFolder app;
    const QString path = AppFile(u"X.dat");
    EXPECT_TRUE(CreateNewFile(path).isOpen());
    int error = 0;
    EXPECT_FALSE(CreateNewFile(path, &error).isOpen());
    EXPECT_EQ(error, EEXIST);
    EXPECT_TRUE(WriteNewRecords(path, {QByteArray("ab"), QByteArray("cd")}));
    EXPECT_EQ(app.read(QStringLiteral("X.dat")), "abcd");

    app.write(QStringLiteral("T.dat"), "target");
    ASSERT_TRUE(QFile::link(AppFile(u"T.dat"), AppFile(u"L.dat")));
    EXPECT_FALSE(WriteNewRecords(AppFile(u"L.dat"), {QByteArray("zz")}));
    EXPECT_EQ(app.read(QStringLiteral("T.dat")), "target");
}

}  // namespace
