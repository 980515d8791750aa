// Faults of the file system as the file modules meet them: a disk that
// fills, something other than a regular file where a file belongs, and the
// report of what a press skipped.
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/keyed_output.h"
#include "common/record_file.h"
#include "support/recording_ui.h"
#include "common/skip.h"
#include "common/text_file.h"
#include "support/file_size_limit.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rw;
using rwtest::AppFolder;

namespace {

std::string failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StepFailure& e) {
        return e.what();
    }
    return "no failure";
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

QByteArray bytes(int n, char c) { return QByteArray(n, c); }

// A write that does not fit on the disk leaves the file as it was: never a
// part of the new bytes, nothing left beside it.
TEST(DiskFull, AWriteThatDoesNotFitLeavesTheFileAsItWas) {
    struct Case {
        const char* name;
        std::function<void(const QString& path)> write;
    };
    const Case cases[] = {
        {"replace", [](const QString& p) { ReplaceFile(p, bytes(100, 'n')); }},
        {"keyed, new key",
         [](const QString& p) {
             QString last;
             WriteKeyed(last, QStringLiteral("A"), p, "HEAD\r\n", bytes(100, 'n'));
             EXPECT_TRUE(last.isEmpty());  // the key's next block starts the file again
         }},
        {"keyed, same key",
         [](const QString& p) {
             QString last = QStringLiteral("A");
             WriteKeyed(last, QStringLiteral("A"), p, {}, bytes(30, 'n'));
         }},
        {"text append", [](const QString& p) { TextOut(p, TextOut::Mode::Append).writeRaw(bytes(30, 'n')); }},
        {"line append", [](const QString& p) { appendLine(p, bytes(30, 'n')); }},
        {"record append", [](const QString& p) { RecordFile(p, 10).writeRecords(5, bytes(30, 'n')); }},
        {"record appended", [](const QString& p) { RecordFile(p, 20).append(bytes(20, 'n')); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFolder app;
        const QString path = app.file("F.dat");
        const QByteArray old = bytes(40, 'o');
        rwtest::writeFile(path, old);
        std::string why;
        {
            rwtest::FileSizeLimit full(50);
            why = failureOf([&] { c.write(path); });
        }
        EXPECT_TRUE(contains(why, "F.dat")) << why;
        EXPECT_EQ(rwtest::readFile(path), old);
        EXPECT_EQ(rwtest::filesUnder(app.path()).size(), 1u);
    }
}

// In a journalled run a file replaced per key and then appended to gets
// back what it held before the run when one of its writes fails, and takes
// no more writes in that run; a file the run created goes again.
TEST(DiskFull, TheRunJournalGivesAFileBackWhatItHeldBeforeTheRun) {
    AppFolder app;
    const QString day = app.file("DAY.txt");
    const QString fresh = app.file("NEW.txt");
    const QByteArray old = bytes(60, 'o');
    rwtest::writeFile(day, old);
    {
        RunJournal run;
        QString dayKey, freshKey;
        WriteKeyed(dayKey, QStringLiteral("A"), day, "H\r\n", bytes(20, 'a'));
        WriteKeyed(freshKey, QStringLiteral("A"), fresh, "H\r\n", bytes(20, 'a'));
        EXPECT_EQ(rwtest::readFile(day), "H\r\n" + bytes(20, 'a'));
        {
            rwtest::FileSizeLimit full(30);
            EXPECT_THROW(WriteKeyed(dayKey, QStringLiteral("A"), day, {}, bytes(20, 'b')), StepFailure);
            EXPECT_THROW(WriteKeyed(freshKey, QStringLiteral("A"), fresh, {}, bytes(20, 'b')), StepFailure);
        }
        EXPECT_EQ(rwtest::readFile(day), old);
        EXPECT_FALSE(QFileInfo::exists(fresh));
        // With room again, the rest of the run leaves it alone.
        const std::string why = failureOf([&] { WriteKeyed(dayKey, QStringLiteral("A"), day, {}, "c"); });
        EXPECT_TRUE(contains(why, "keeps what it held before")) << why;
        EXPECT_THROW(ReplaceFile(day, "d"), StepFailure);
        EXPECT_EQ(rwtest::readFile(day), old);
    }
    EXPECT_EQ(rwtest::filesUnder(app.path()), (std::map<QString, QByteArray>{{QStringLiteral("DAY.txt"), old}}));

    // A run without failures leaves its new bytes and nothing beside them.
    {
        RunJournal run;
        QString key;
        emptyTextFile(day);
        appendLine(day, "x");
        WriteKeyed(key, QStringLiteral("B"), fresh, "H\r\n", "b\r\n");
    }
    EXPECT_EQ(rwtest::filesUnder(app.path()),
              (std::map<QString, QByteArray>{{QStringLiteral("DAY.txt"), "x\r\n"},
                                             {QStringLiteral("NEW.txt"), "H\r\nb\r\n"}}));
}

// A FIFO (or a folder) where a file belongs is refused at once with its
// name: a reader or writer opening a FIFO would wait until killed.
TEST(NotARegularFile, ReadersAndWritersRefuseItWithItsName) {
    AppFolder app;
    const QString fifo = app.file("P.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkpath(app.file("D.txt"));
    const QString folder = app.file("D.txt");
    struct Case {
        const char* name;
        std::function<void(const QString&)> touch;
    };
    const Case cases[] = {
        {"values", [](const QString& p) { readValues(p); }},
        {"lines", [](const QString& p) { readLines(p); }},
        {"line reader",
         [](const QString& p) {
             LineReader r(p);
             if (!r.open()) r.fail("open");
         }},
        {"records", [](const QString& p) { RecordFile::readAll(p, 4); }},
        {"record file", [](const QString& p) { RecordFile(p, 4); }},
        {"text out", [](const QString& p) { TextOut(p, TextOut::Mode::Append); }},
        {"keyed append",
         [](const QString& p) {
             QString last = QStringLiteral("A");
             WriteKeyed(last, QStringLiteral("A"), p, {}, "x");
         }},
    };
    for (const Case& c : cases)
        for (const QString& path : {fifo, folder}) {
            SCOPED_TRACE(std::string(c.name) + " " + path.toStdString());
            const std::string why = failureOf([&] { c.touch(path); });
            EXPECT_TRUE(contains(why, QFile::encodeName(path).toStdString())) << why;
            EXPECT_TRUE(contains(why, "not a regular file")) << why;
        }
}

// A FIFO that a reader holds open can be opened without waiting: it is
// still refused, after the open and before a byte goes through it, and
// nothing is emptied.
TEST(NotARegularFile, AFifoWithAReaderIsRefusedOnceOpened) {
    AppFolder app;
    const QString fifo = app.file("P.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    struct Case {
        const char* name;
        std::function<void(const QString&)> touch;
    };
    const Case cases[] = {
        {"whole file", [](const QString& p) { WriteWholeFile(p, "x"); }},
        {"record file", [](const QString& p) { RecordFile(p, 4); }},
        {"text out", [](const QString& p) { TextOut(p, TextOut::Mode::Output); }},
        {"line append", [](const QString& p) { appendLine(p, "x"); }},
        {"keyed append",
         [](const QString& p) {
             QString last = QStringLiteral("A");
             WriteKeyed(last, QStringLiteral("A"), p, {}, "x");
         }},
        {"values", [](const QString& p) { readValues(p); }},
        {"records", [](const QString& p) { RecordFile::readAll(p, 4); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string why = failureOf([&] { c.touch(fifo); });
        EXPECT_TRUE(contains(why, QFile::encodeName(fifo).toStdString() + ": not a regular file")) << why;
        char byte;
        EXPECT_LE(::read(reader, &byte, 1), 0);  // nothing was written into it
    }
    ::close(reader);
}

// What a press skipped: each distinct message once with its count in the
// log file, one box on the screen, a few lines on stderr.
TEST(SkipReport, ListsEachDistinctMessageOnceWithItsCount) {
    AppFolder app;
    SkipLog log("prediction run");
    for (int i = 0; i < 500; ++i) log.record("write RACE", "cannot write: disk full");
    log.record("write KAIME", "cannot open: denied");
    RecordingUi ui;
    testing::internal::CaptureStderr();
    EXPECT_EQ(log.report(ui), 501u);
    const std::string err = testing::internal::GetCapturedStderr();

    const QByteArray list = app.read(QString::fromUtf16(kSkipLogFile));
    EXPECT_TRUE(list.contains("prediction run: 501 skipped, 2 distinct\n")) << list.toStdString();
    EXPECT_TRUE(list.endsWith("\n500\twrite RACE: cannot write: disk full\n1\twrite KAIME: cannot open: denied\n"))
        << list.toStdString();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0], SkipSummaryText(501, app.file(QString::fromUtf16(kSkipLogFile)), {}));
    EXPECT_TRUE(ui.messages[0].contains(QStringLiteral("501"))) << ui.messages[0].toStdString();
    EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 4) << err;
    EXPECT_TRUE(contains(err, "501 statements skipped")) << err;

    // A second press adds its own block.
    SkipLog next("structure processing");
    next.record("a", "b");
    next.report(ui);
    EXPECT_TRUE(app.read(QString::fromUtf16(kSkipLogFile)).startsWith(list));

    // Nothing skipped: nothing shown, nothing written.
    SkipLog clean("download");
    EXPECT_EQ(clean.report(ui), 0u);
    EXPECT_EQ(ui.messages.size(), 2);
}

// When the log cannot be written, the screen says so and stderr carries
// the list (still each message once).
TEST(SkipReport, ALogThatCannotBeWrittenIsSaidOnScreen) {
    AppFolder app;
    QDir().mkpath(app.file(QString::fromUtf16(kSkipLogFile)));
    SkipLog log("past performance");
    for (int i = 0; i < 5; ++i) log.record("day file " + std::to_string(i), "not a regular file");
    log.record("day file 0", "not a regular file");
    RecordingUi ui;
    testing::internal::CaptureStderr();
    log.report(ui);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(QString::fromUtf8("書けませんでした"))) << ui.messages[0].toStdString();
    EXPECT_TRUE(contains(err, "2 x day file 0: not a regular file")) << err;
    EXPECT_TRUE(contains(err, "day file 4")) << err;
}

}  // namespace
