#include "jvdata/jvlink_file.h"
#include "jvdata/layouts.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace rw::jv;

namespace {

// A record of `code` with its kind's published length (or `length`), the tag
// right after the code, CR LF at the end.
QByteArray rec(const char* code, const char* tag, int length = 0) {
    if (length == 0) {
        for (Kind k : kAllKinds)
            if (layout(k).code == code) length = layout(k).length;
    }
    QByteArray r = QByteArray(code) + tag;
    r = r.leftJustified(length - 2, '0') + "\r\n";
    return r;
}

// Every result of reading until 0 or -203 (bounded): a record as
// "<code><tag>@<file>", a code as its number ("@<file>" when named).
QStringList readAll(JvLink& j, int limit = 50) {
    QStringList out;
    for (int i = 0; i < limit; ++i) {
        QByteArray buf(kReadBufferSize, '\0');
        std::int32_t size = kReadBufferSize;
        QString name = QStringLiteral("stale");
        const std::int32_t r = j.JVRead(buf, size, name);
        if (r > 0) {
            EXPECT_EQ(r, buf.size());
            out << QString::fromLatin1(buf.left(4)) + QLatin1Char('@') + name;
        } else {
            EXPECT_TRUE(buf.isEmpty()) << r;
            out << (name.isEmpty() ? QString::number(r) : QString::number(r) + QLatin1Char('@') + name);
        }
        if (r == 0 || r == kReadRealtimeEnd) break;
    }
    return out;
}

struct Opened {
    std::int32_t result, readCount, downloadCount;
};
Opened open(JvLink& j, const QString& code) {
    std::int32_t rc = -9, dc = -9;
    QString stamp;
    const std::int32_t r = j.JVOpen(code, QStringLiteral("00000000000000"), 2, rc, dc, stamp);
    return {r, rc, dc};
}

const QString kWeek = QStringLiteral("TOKURACETCVNRCVN");

}  // namespace

TEST(FileJvLink, DeliversTheFilesOfEachFolderInRequestThenNameOrder) {
    rwtest::AppFolder app;
    app.write("JVDATA\\TOKU\\b.jvd", rec("TK", "b1", 30));
    app.write("JVDATA\\TOKU\\a.jvd", rec("UM", "a1") + rec("KS", "a2"));
    // Another kind with bytes that are no code page 932, and a last record
    // without CR LF: both delivered as they are.
    app.write("JVDATA\\RACE\\r.jvd", rec("RA", "r1") + rec("SE", "r2") + rec("HR", "r3") + "YSzz\xff\xfe" "end");
    app.write("JVDATA\\RACE\\notes.txt", "RAxx\r\n");
    QDir().mkpath(app.file("JVDATA\\RCVN"));  // empty; TCVN missing

    FileJvLink j(app.path());
    EXPECT_EQ(j.JVInit(QStringLiteral("UNKNOWN")), 0);
    const Opened o = open(j, kWeek);
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.readCount, 3);
    EXPECT_EQ(o.downloadCount, 3);
    EXPECT_EQ(readAll(j), QStringList({"UMa1@TOKU/a.jvd", "KSa2@TOKU/a.jvd", "-1@TOKU/b.jvd", "TKb1@TOKU/b.jvd", "-1@RACE/r.jvd", "RAr1@RACE/r.jvd",
                                       "SEr2@RACE/r.jvd", "HRr3@RACE/r.jvd", "YSzz@RACE/r.jvd", "0"}));
    EXPECT_EQ(readAll(j), QStringList({"0"}));  // stays at the end

    // The record bytes exactly, the last one without CR LF.
    open(j, QStringLiteral("RACE"));
    QByteArray buf;
    std::int32_t size = 0;
    QString name;
    EXPECT_EQ(j.JVRead(buf, size, name), 1272);
    EXPECT_EQ(buf, rec("RA", "r1"));
    j.JVRead(buf, size, name);
    j.JVRead(buf, size, name);
    EXPECT_EQ(j.JVRead(buf, size, name), 9);
    EXPECT_EQ(buf, QByteArray("YSzz\xff\xfe" "end"));
    EXPECT_EQ(j.JVClose(), 0);
    EXPECT_EQ(j.JVClose(), 0);
}

TEST(FileJvLink, StatusServesEveryReadyFileAtOnceAndCancelStopsIt) {
    rwtest::AppFolder app;
    for (const char* f : {"JVDATA\\RACE\\1.jvd", "JVDATA\\RACE\\2.jvd", "JVDATA\\RACE\\3.jvd"})
        app.write(f, rec("RA", "x"));
    FileJvLink j(app.path());
    EXPECT_EQ(j.JVStatus(), 0);  // nothing open
    EXPECT_EQ(open(j, QStringLiteral("RACE")).downloadCount, 3);
    EXPECT_EQ(j.JVStatus(), 3);  // all on disk: one poll serves them
    EXPECT_EQ(j.JVStatus(), 3);
    j.JVClose();

    open(j, QStringLiteral("RACE"));
    EXPECT_EQ(j.JVCancel(), 0);
    EXPECT_EQ(j.JVStatus(), 0);
    EXPECT_EQ(readAll(j), QStringList({"0"}));
    j.JVClose();
}

TEST(FileJvLink, DamagedFileGives403AndTheReopenAfterFiledeleteResumesBehindIt) {
    rwtest::AppFolder app;
    app.write("JVDATA\\RACE\\1.jvd", rec("RA", "11") + rec("SE", "12"));
    app.write("JVDATA\\RACE\\2.jvd", rec("RA", "21") + rec("SE", "22", 554));  // one byte short
    app.write("JVDATA\\RCVN\\3.jvd", rec("HR", "31"));
    const QString code = QStringLiteral("RACERCVN");
    FileJvLink j(app.path());

    EXPECT_EQ(open(j, code).readCount, 3);
    EXPECT_EQ(readAll(j, 4), QStringList({"RA11@RACE/1.jvd", "SE12@RACE/1.jvd", "-1@RACE/2.jvd", "-403@RACE/2.jvd"}));
    EXPECT_EQ(j.JVFiledelete(QStringLiteral("RACE/2.jvd")), 0);
    j.JVClose();
    const Opened again = open(j, code);
    EXPECT_EQ(again.result, 0);
    EXPECT_EQ(again.readCount, 1);
    EXPECT_EQ(readAll(j), QStringList({"HR31@RCVN/3.jvd", "0"}));
    j.JVClose();
    EXPECT_TRUE(app.exists("JVDATA\\RACE\\2.jvd"));  // the server keeps its files

    // An open not preceded by JVFiledelete starts from the beginning; a
    // caller reading on past -403 gets the next file.
    EXPECT_EQ(open(j, code).readCount, 3);
    EXPECT_EQ(readAll(j), QStringList({"RA11@RACE/1.jvd", "SE12@RACE/1.jvd", "-1@RACE/2.jvd", "-403@RACE/2.jvd", "HR31@RCVN/3.jvd", "0"}));
    // Names not of the request are refused.
    for (const char* n : {"", "x.jvd", "../RACE/1.jvd", "..", "/etc/passwd"})
        EXPECT_EQ(j.JVFiledelete(QString::fromUtf8(n)), kJvNotARequestFile) << n;
    j.JVClose();
}

TEST(FileJvLink, EveryReadKindWithAnotherLengthMakesItsFileDamaged) {
    rwtest::AppFolder app;
    FileJvLink j(app.path());
    for (Kind k : kAllKinds) {
        const QByteArray code(layout(k).code.data(), 2);
        for (int delta : {-1, 1}) {
            app.write("JVDATA\\TEST\\d.jvd", rec("TK", "ok", 40) + rec(code.constData(), "x", layout(k).length + delta));
            open(j, QStringLiteral("TEST"));
            EXPECT_EQ(readAll(j, 1), QStringList({"-403@TEST/d.jvd"})) << code.constData() << delta;
            j.JVClose();
        }
    }
    // A file that cannot be read when reading reaches it.
    open(j, QStringLiteral("TEST"));
    ASSERT_TRUE(QFile::remove(app.file("JVDATA\\TEST\\d.jvd")));
    EXPECT_EQ(readAll(j), QStringList({"-403@TEST/d.jvd", "0"}));
}

TEST(FileJvLink, RealtimeRequestsServeOneFilePerKey) {
    rwtest::AppFolder app;
    app.write("JVDATA\\0B30\\2024062905030111.jvd", rec("O1", "a") + rec("O2", "b"));
    app.write("JVDATA\\0B12\\20240629.jvd", rec("RA", "a") + rec("SE", "b", 100) + rec("HR", "c"));
    FileJvLink j(app.path());

    EXPECT_EQ(j.JVRTOpen(QStringLiteral("0B30"), QStringLiteral("2024062905030111")), 0);
    EXPECT_EQ(readAll(j, 4), QStringList({"O1a0@0B30/2024062905030111.jvd", "O2b0@0B30/2024062905030111.jvd", "0"}));
    EXPECT_EQ(readAll(j), QStringList({"0"}));
    j.JVClose();

    // Real-time records are delivered whatever their length.
    EXPECT_EQ(j.JVRTOpen(QStringLiteral("0B12"), QStringLiteral("20240629")), 0);
    EXPECT_EQ(readAll(j), QStringList({"RAa0@0B12/20240629.jvd", "SEb0@0B12/20240629.jvd", "HRc0@0B12/20240629.jvd", "-203"}));
    EXPECT_EQ(readAll(j), QStringList({"-203"}));
    EXPECT_EQ(j.JVFiledelete(QStringLiteral("20240629.jvd")), kJvNotARequestFile);
    j.JVClose();
}

// A real-time file whose records end otherwise than in CR LF holds no
// record: it is named as damaged instead of being read as nothing.
TEST(FileJvLink, ARealtimeFileWithoutCrLfIsNamedAsDamaged) {
    struct Case {
        const char* name;
        QByteArray data;
    };
    QByteArray lf = rec("RA", "a") + rec("SE", "b", 100);
    lf.replace("\r\n", "\n");
    const Case cases[] = {
        {"LF line ends", lf},
        {"a last record without its end", rec("RA", "a") + rec("SE", "b", 100).chopped(2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rwtest::AppFolder app;
        app.write("JVDATA\\0B12\\20240629.jvd", c.data);
        FileJvLink j(app.path());
        EXPECT_EQ(j.JVRTOpen(QStringLiteral("0B12"), QStringLiteral("20240629")), 0);
        testing::internal::CaptureStderr();
        EXPECT_EQ(readAll(j), QStringList({"-403@0B12/20240629.jvd", "-203"}));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("20240629.jvd is reported as damaged"), std::string::npos) << err;
        EXPECT_NE(err.find("does not end in CR LF"), std::string::npos) << err;
        j.JVClose();
    }
}

TEST(FileJvLink, RealtimeRequestsThatCannotBeServedEndAtOnce) {
    rwtest::AppFolder app;
    app.write("JVDATA\\0B30\\x.jvd", rec("O1", "a"));
    app.write("secret.jvd", rec("O1", "s"));
    FileJvLink j(app.path());
    struct Case {
        const char* code;
        const char* key;
        std::int32_t open;
        const char* end;
    };
    for (const Case& c : {Case{"0B30", "2024062905030112", kJvNoSuchData, "0"},
                          Case{"0B12", "20240630", kJvNoSuchData, "-203"},
                          Case{"0B30", "../../secret", kJvBadKey, "0"},
                          Case{"0B30", "../../../secret.", kJvBadKey, "0"},
                          Case{"0B12", "../20240629", kJvBadKey, "-203"},
                          Case{"0B12", "2024062", kJvBadKey, "-203"},
                          Case{"0B30", "x", kJvBadKey, "0"},
                          Case{"0B30", "", kJvBadKey, "0"},
                          Case{"0B99", "20240629", kJvBadDataSpec, "0"},
                          Case{"../J", "20240629", kJvBadDataSpec, "0"}}) {
        EXPECT_EQ(j.JVRTOpen(QString::fromUtf8(c.code), QString::fromUtf8(c.key)), c.open) << c.code << c.key;
        EXPECT_EQ(readAll(j), QStringList({QString::fromUtf8(c.end)})) << c.code << c.key;
        j.JVClose();
    }
}

TEST(FileJvLink, MissingOrEmptyFoldersAndMalformedSpecsGiveNoData) {
    rwtest::AppFolder app;
    FileJvLink j(app.path());
    EXPECT_EQ(readAll(j), QStringList({"0"}));  // nothing open
    EXPECT_EQ(j.JVClose(), 0);
    const Opened none = open(j, kWeek);  // no data folder at all
    EXPECT_EQ(none.result, 0);
    EXPECT_EQ(none.readCount, 0);
    EXPECT_EQ(none.downloadCount, 0);
    EXPECT_EQ(readAll(j), QStringList({"0"}));
    QDir().mkpath(app.file("JVDATA\\TOKU"));
    app.write("JVDATA\\RACE\\empty.jvd", QByteArray());
    EXPECT_EQ(open(j, kWeek).readCount, 1);  // an empty file is still a file
    EXPECT_EQ(readAll(j), QStringList({"0"}));

    app.write("JVDATA\\x.jvd", rec("RA", "x"));
    for (const char* code : {"", "TOK", "TOKURAC", "../x", "TO/K", "TOKU..\\.", "ＴＯＫＵ"}) {
        const Opened o = open(j, QString::fromUtf8(code));
        EXPECT_EQ(o.result, kJvBadDataSpec) << code;
        EXPECT_EQ(o.readCount, 0) << code;
        EXPECT_EQ(readAll(j), QStringList({"0"})) << code;
    }
    EXPECT_EQ(j.JVInit(QString()), kJvBadSoftwareId);
}

TEST(FileJvLink, EachApplicationFolderHasItsOwnDataFolderSetting) {
    rwtest::AppFolder app;
    QTemporaryDir other;
    const QString otherApp = other.path() + QLatin1Char('/');
    EXPECT_EQ(jvLinkSettingsFile(app.path()), app.path() + "JVLINK.cfg");
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + "JVDATA/");

    ASSERT_TRUE(saveJvLinkDataFolder(app.path(), QStringLiteral("DATA\\JV")));
    EXPECT_EQ(app.read("JVLINK.cfg"), QByteArray("DATA/JV\r\n"));
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + "DATA/JV/");
    EXPECT_EQ(jvLinkDataFolder(otherApp), otherApp + "JVDATA/");  // untouched

    // A folder inside the application folder is kept relative; one outside as it is.
    ASSERT_TRUE(saveJvLinkDataFolder(otherApp, app.path() + "DATA/JV"));
    EXPECT_EQ(rwtest::readFile(otherApp + "JVLINK.cfg"), QByteArray(app.path().toUtf8() + "DATA/JV\r\n"));
    ASSERT_TRUE(saveJvLinkDataFolder(app.path(), app.path() + "X"));
    EXPECT_EQ(app.read("JVLINK.cfg"), QByteArray("X\r\n"));
    ASSERT_TRUE(saveJvLinkDataFolder(app.path(), QString()));
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + "JVDATA/");

    // The component reads the setting of its own application folder.
    ASSERT_TRUE(saveJvLinkDataFolder(app.path(), QStringLiteral("X")));
    app.write("X\\RACE\\1.jvd", rec("RA", "x"));
    FileJvLink j(app.path()), k(otherApp);
    EXPECT_EQ(open(j, QStringLiteral("RACE")).readCount, 1);
    EXPECT_EQ(open(k, QStringLiteral("RACE")).readCount, 0);
}

// The setting is the file's first line. Something other than a regular file
// at its name is never opened, so a FIFO there cannot hold the program: it
// reads as no setting, and a new setting takes its place.
TEST(FileJvLink, TheSettingIsTheFirstLineOfARegularFile) {
    rwtest::AppFolder app;
    app.write("JVLINK.cfg", "DATA\r\r\nOTHER\r\n");
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + "DATA/");
    app.write("JVLINK.cfg", QByteArray(5000, 'L'));  // a line is cut at 4095 bytes
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + QString(4095, u'L') + "/");

    const QString cfg = jvLinkSettingsFile(app.path());
    ASSERT_TRUE(QFile::remove(cfg));
    ASSERT_EQ(::mkfifo(QFile::encodeName(cfg).constData(), 0600), 0);
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + "JVDATA/");
    ASSERT_TRUE(saveJvLinkDataFolder(app.path(), QStringLiteral("DATA")));
    EXPECT_TRUE(QFileInfo(cfg).isFile());
    EXPECT_EQ(app.read("JVLINK.cfg"), QByteArray("DATA\r\n"));

    ASSERT_TRUE(QFile::remove(cfg));
    ASSERT_TRUE(QDir().mkpath(cfg));  // a folder cannot be replaced: the setting is refused
    EXPECT_EQ(jvLinkDataFolder(app.path()), app.path() + "JVDATA/");
    EXPECT_FALSE(saveJvLinkDataFolder(app.path(), QStringLiteral("DATA")));
    EXPECT_TRUE(QFileInfo(cfg).isDir());
    EXPECT_FALSE(QFileInfo::exists(cfg + ".new"));
}

TEST(FileJvLink, SetUiPropertiesShowsTheHookAndKeepsWhatItChose) {
    rwtest::AppFolder app;
    FileJvLink j(app.path());
    setJvLinkSettingsHook({});
    EXPECT_EQ(j.JVSetUIProperties(), kJvSettingsFailed);  // no dialog installed

    QString shown;
    setJvLinkSettingsHook([&](QString& folder) {
        shown = folder;
        return true;  // cancelled: folder unchanged
    });
    EXPECT_EQ(j.JVSetUIProperties(), 0);
    EXPECT_EQ(shown + "/", app.path() + "JVDATA/");
    EXPECT_FALSE(app.exists("JVLINK.cfg"));  // nothing changed, nothing written

    setJvLinkSettingsHook([](QString& folder) {
        folder += QStringLiteral("2");
        return true;
    });
    EXPECT_EQ(j.JVSetUIProperties(), 0);
    EXPECT_EQ(app.read("JVLINK.cfg"), QByteArray("JVDATA2\r\n"));

    setJvLinkSettingsHook([](QString&) { return false; });
    EXPECT_EQ(j.JVSetUIProperties(), kJvSettingsFailed);
    setJvLinkSettingsHook({});
}

TEST(FileJvLink, TheDefaultComponentServesTheApplicationFolder) {
    rwtest::AppFolder app;
    app.write("JVDATA\\RACE\\1.jvd", rec("RA", "x"));
    setJvLinkFactory({});
    auto j = createJvLink();
    ASSERT_NE(dynamic_cast<FileJvLink*>(j.get()), nullptr);
    EXPECT_EQ(open(*j, QStringLiteral("RACE")).readCount, 1);
}

TEST(FileJvLink, ResumeDependsOnThePlaceOfTheDeletedFileNotOnItsPresence) {
    rwtest::AppFolder app;
    app.write("JVDATA\\RACE\\1.jvd", rec("RA", "11"));
    app.write("JVDATA\\RACE\\2.jvd", rec("RA", "21", 100));  // damaged
    app.write("JVDATA\\RACE\\3.jvd", rec("RA", "31"));
    FileJvLink j(app.path());
    ASSERT_EQ(open(j, QStringLiteral("RACE")).readCount, 3);
    EXPECT_EQ(readAll(j, 3), QStringList({"RA11@RACE/1.jvd", "-1@RACE/2.jvd", "-403@RACE/2.jvd"}));
    EXPECT_EQ(j.JVFiledelete(QStringLiteral("RACE/2.jvd")), 0);
    j.JVClose();
    // Meanwhile the damaged file went away and a file sorting before it came.
    ASSERT_TRUE(QFile::remove(app.file("JVDATA\\RACE\\2.jvd")));
    app.write("JVDATA\\RACE\\0.jvd", rec("RA", "01"));
    EXPECT_EQ(open(j, QStringLiteral("RACE")).readCount, 1);
    EXPECT_EQ(readAll(j), QStringList({"RA31@RACE/3.jvd", "0"}));
}

TEST(FileJvLink, SameFileNamesInTwoFoldersAreTwoFiles) {
    rwtest::AppFolder app;
    app.write("JVDATA\\RACE\\a.jvd", rec("RA", "r", 10));
    app.write("JVDATA\\TCVN\\a.jvd", rec("UM", "u", 10));
    app.write("JVDATA\\TCVN\\b.jvd", rec("UM", "ok"));
    FileJvLink j(app.path());
    open(j, QStringLiteral("RACETCVN"));
    EXPECT_EQ(readAll(j, 1), QStringList({"-403@RACE/a.jvd"}));
    j.JVFiledelete(QStringLiteral("RACE/a.jvd"));
    j.JVClose();
    open(j, QStringLiteral("RACETCVN"));
    EXPECT_EQ(readAll(j, 1), QStringList({"-403@TCVN/a.jvd"}));
    j.JVFiledelete(QStringLiteral("TCVN/a.jvd"));
    j.JVClose();
    open(j, QStringLiteral("RACETCVN"));
    EXPECT_EQ(readAll(j), QStringList({"UMok@TCVN/b.jvd", "0"}));
}

TEST(FileJvLink, LinksOutOfTheDataFolderAndOverlongRecordsAreRefused) {
    rwtest::AppFolder app;
    app.write("outside.jvd", rec("RA", "secret"));
    app.write("elsewhere\\z.jvd", rec("RA", "secret"));
    app.write("JVDATA\\RACE\\1.jvd", rec("RA", "11"));
    QDir().mkpath(app.file("JVDATA\\0B12"));
    ASSERT_TRUE(QFile::link(app.file("outside.jvd"), app.file("JVDATA\\RACE\\2.jvd")));
    ASSERT_TRUE(QFile::link(app.file("outside.jvd"), app.file("JVDATA\\0B12\\20241207.jvd")));
    ASSERT_TRUE(QFile::link(app.file("elsewhere"), app.file("JVDATA\\TCVN")));
    app.write("JVDATA\\RCVN\\long.jvd", QByteArray(90000, 'x') + "\r\n");
    FileJvLink j(app.path());
    EXPECT_EQ(open(j, kWeek).readCount, 2);
    EXPECT_EQ(readAll(j), QStringList({"RA11@RACE/1.jvd", "-1@RCVN/long.jvd", "-403@RCVN/long.jvd", "0"}));
    EXPECT_EQ(j.JVRTOpen(QStringLiteral("0B12"), QStringLiteral("20241207")), kJvNoSuchData);
    EXPECT_EQ(open(j, QStringLiteral("race")).result, kJvBadDataSpec);
}

// A damaged file is named on stderr with what is wrong with it, so that a
// week that ends with nothing stored can be explained.
TEST(FileJvLink, ADamagedFileIsNamedOnStderrWithItsFault) {
    rwtest::AppFolder app;
    app.write("JVDATA\\RACE\\1.jvd", rec("RA", "11") + rec("SE", "cut", 300));
    app.write("JVDATA\\RACE\\2.jvd", rec("RA", "12") + QByteArray(90000, 'x'));
    app.write("JVDATA\\RACE\\3.jvd", rec("RA", "13"));
    FileJvLink j(app.path());
    open(j, QStringLiteral("RACE"));
    ASSERT_TRUE(QFile::remove(app.file("JVDATA\\RACE\\3.jvd")));  // gone by the time it is read
    testing::internal::CaptureStderr();
    EXPECT_EQ(readAll(j), QStringList({"-403@RACE/1.jvd", "-403@RACE/2.jvd", "-403@RACE/3.jvd", "0"}));
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string folder = QDir::cleanPath(app.file("JVDATA\\RACE")).toStdString();
    for (const std::string& line :
         {"JV-Link: " + folder + "/1.jvd is reported as damaged (record 2 (from byte 1272) is a SE record of 300 bytes; "
                                 "that kind has 555)\n",
          "JV-Link: " + folder + "/2.jvd is reported as damaged (record 2 (from byte 1272) is 90000 bytes long, longer "
                                 "than any JV-Data record (83285))\n",
          "JV-Link: " + folder + "/3.jvd is reported as damaged (it cannot be opened: No such file or directory)\n"})
        EXPECT_NE(err.find(line), std::string::npos) << line << "in\n" << err;
}
