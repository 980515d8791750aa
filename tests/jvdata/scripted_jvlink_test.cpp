#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using rwtest::OpenOutcome;
using rwtest::ReadStep;

TEST(ScriptedJvLink, PlaysOpensStatusesAndReadsInOrderAndLogsThem) {
    rwtest::ScriptedJvLinkInstall install;
    auto a = rw::jv::createJvLink();
    auto b = rw::jv::createJvLink();  // a second window talks to the same script
    EXPECT_EQ(install.created(), 2);
    auto& s = install.link();
    s.initResult = -211;
    s.opens = {{0, 2, 3}, {0, 1, 0}};
    s.statuses = {1};
    s.reads = {ReadStep::rec("RA1\r\n", "f1"), ReadStep::code(-1), ReadStep::code(-403, "f2"),
               ReadStep::rec("SE2\r\n", "f3")};

    EXPECT_EQ(a->JVInit(QStringLiteral("id")), -211);
    std::int32_t rc = 9, dc = 9;
    QString stamp;
    EXPECT_EQ(a->JVOpen(QStringLiteral("TOKURACETCVNRCVN"), QStringLiteral("00000000000000"), 2, rc, dc, stamp), 0);
    EXPECT_EQ(rc, 2);
    EXPECT_EQ(dc, 3);
    EXPECT_EQ(b->JVStatus(), 1);
    EXPECT_EQ(b->JVStatus(), 3);  // queue empty: the download count

    QByteArray buf(8, '\0');
    std::int32_t size = 8;
    QString name;
    EXPECT_EQ(a->JVRead(buf, size, name), 5);
    EXPECT_EQ(buf, QByteArray("RA1\r\n"));
    EXPECT_EQ(name, QStringLiteral("f1"));
    EXPECT_EQ(a->JVRead(buf, size, name), -1);
    EXPECT_EQ(buf, QByteArray("RA1\r\n"));  // left as it was
    EXPECT_EQ(a->JVRead(buf, size, name), -403);
    EXPECT_EQ(a->JVFiledelete(name), 0);
    EXPECT_EQ(a->JVClose(), 0);
    EXPECT_EQ(a->JVOpen(QStringLiteral("TOKURACETCVNRCVN"), QStringLiteral("00000000000000"), 2, rc, dc, stamp), 0);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(a->JVRead(buf, size, name), 5);
    EXPECT_EQ(a->JVRead(buf, size, name), 0);
    EXPECT_EQ(a->JVRead(buf, size, name), 0);
    EXPECT_EQ(a->JVCancel(), 0);
    EXPECT_EQ(a->JVOpen(QStringLiteral("X"), QStringLiteral("0"), 1, rc, dc, stamp), 0);  // default outcome
    EXPECT_EQ(rc, 0);

    EXPECT_EQ(s.log, QStringList({"JVInit(id)", "JVOpen(TOKURACETCVNRCVN,00000000000000,2)", "JVStatus", "JVStatus",
                                  "JVRead", "JVRead", "JVRead", "JVFiledelete(f2)", "JVClose",
                                  "JVOpen(TOKURACETCVNRCVN,00000000000000,2)", "JVRead", "JVRead", "JVRead",
                                  "JVCancel", "JVOpen(X,0,1)"}));
    EXPECT_EQ(s.deletedFiles, QStringList({"f2"}));
}

TEST(ScriptedJvLink, RealtimeScriptsPerKeyReplayAndTheFactoryIsRestored) {
    rwtest::AppFolder app;
    {
        rwtest::ScriptedJvLinkInstall install;
        auto& s = install.link();
        s.addRealtime(QStringLiteral("0B12"), QStringLiteral("20240629"),
                      {ReadStep::rec("HR\r\n"), ReadStep::code(-203)});
        auto j = rw::jv::createJvLink();
        QByteArray buf;
        std::int32_t size = 0;
        QString name;
        for (int round = 0; round < 2; ++round) {
            j->JVRTOpen(QStringLiteral("0B12"), QStringLiteral("20240629"));
            EXPECT_EQ(j->JVRead(buf, size, name), 4);
            EXPECT_EQ(j->JVRead(buf, size, name), -203);
            EXPECT_EQ(j->JVRead(buf, size, name), 0);
            j->JVClose();
        }
        j->JVRTOpen(QStringLiteral("0B30"), QStringLiteral("2024062905030111"));
        EXPECT_EQ(j->JVRead(buf, size, name), 0);  // no script for this key
        EXPECT_EQ(s.count(QStringLiteral("JVRTOpen(0B12,20240629)")), 2);
    }
    // The default component again: not the script.
    auto j = rw::jv::createJvLink();
    ASSERT_TRUE(j);
    EXPECT_EQ(dynamic_cast<rwtest::ScriptedJvLink*>(j.get()), nullptr);
}
