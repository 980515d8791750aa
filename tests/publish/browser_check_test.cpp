// The published page in a real browser: the web page and a day's print page,
// saved byte for byte as ".html", are opened by headless Chromium (Debian's
// package; the test is skipped where it is not installed). A checking page
// loads each into a frame and reports what the browser parsed: the
// document's encoding, no replacement character, the heading with the
// course name, bet tables of three rows, race cards of a header row and one
// row per runner, race bars of twelve links, the footer outside the main
// column. Screenshots of both show the same picture as the same page
// written in plain UTF-8: the Japanese as the page's author wrote it.
#include "race_fixture.h"

#include "common/cp932.h"
#include "support/html_page.h"
#include "publish/print_page.h"
#include "publish/site_page.h"
#include "publish/wordpress_blocks.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::publish;
using namespace rwtest::publish;

namespace {

const char kChromium[] = "/usr/bin/chromium";

// Reports, per document, one "name key=value" line per finding.
const char kCheckPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="UTF-8"></head><body><pre id="out"></pre>
<script>
function check(name) {
  return new Promise(resolve => {
    const f = document.createElement('iframe');
    f.onload = () => {
      const d = f.contentDocument, r = [];
      const say = (k, v) => r.push(name + ' ' + k + '=' + v);
      say('charset', d.characterSet);
      say('replacement', d.documentElement.textContent.includes('\uFFFD'));
      say('h1', d.querySelector('h1').textContent);
      say('title', d.title);
      say('betRows', Array.from(d.querySelectorAll('table.yosouList')).map(t => t.rows.length).join(','));
      say('cardRows', Array.from(d.querySelectorAll('table.raceDetail')).map(t => t.rows.length).join(','));
      say('raceLinks', Array.from(d.querySelectorAll('table.raceList')).map(t => t.querySelectorAll('td a').length).join(','));
      const main = d.getElementById('maincol'), foot = d.getElementById('footer');
      say('footerOutsideMain', !!main && !!foot && !main.contains(foot));
      say('whiteFonts', d.querySelectorAll('table.raceDetail font[color="#ffffff"]').length);
      resolve(r.join('\n'));
    };
    f.src = name;
    document.body.appendChild(f);
  });
}
Promise.all([check('page.html'), check('print.html')]).then(rs => {
  document.getElementById('out').textContent = rs.join('\n') + '\nDONE';
});
</script></body></html>
)";

// Headless Chromium on a page with its own profile; `mode` is "--dump-dom"
// or "--screenshot=<file>". Its standard output when it finished.
QString runChromium(const QString& mode, const QString& page) {
    QTemporaryDir profile;
    QProcess browser;
    browser.start(QString::fromLatin1(kChromium),
                  {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                   QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                   QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                   QStringLiteral("--disable-quic"), QStringLiteral("--allow-file-access-from-files"),
                   QStringLiteral("--hide-scrollbars"), QStringLiteral("--window-size=1000,1400"),
                   QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--virtual-time-budget=10000"),
                   mode, QUrl::fromLocalFile(page).toString()});
    if (!browser.waitForFinished(120000)) return QStringLiteral("<chromium did not finish>");
    return QString::fromUtf8(browser.readAllStandardOutput()) + QString::fromUtf8(browser.readAllStandardError());
}

// The value of a finding in the dumped checking page.
QString readerLine(const QString& out, const QString& key) {
    const qsizetype at = out.indexOf(key + u'=');
    if (at < 0) return QStringLiteral("<missing>");
    const qsizetype from = at + key.size() + 1;
    return out.mid(from, out.indexOf(u'\n', from) - from);
}

TEST(BrowserCheck, PublishedPagesParseAsTheirTemplatesSay) {
    if (!QFile::exists(QLatin1String(kChromium))) GTEST_SKIP() << "chromium is not installed";
    rwtest::AppFolder app;
    MakeExportFolders(app);
    prediction::RunState s;
    FillTestCodeTable(s);
    LoadRace(s, RaceA(), 1);
    WriteWordPressBlocks(s);
    WriteSitePage(s);
    WritePrintPage(s);
    for (int n = 2; n <= 12; ++n) {
        LoadRace(s, OneRunnerRace(n), n);
        WriteWordPressBlocks(s);
        WriteSitePage(s);
        WritePrintPage(s);
    }
    QTemporaryDir site;
    // The files as written, and the same pages in plain UTF-8 to compare the
    // screenshots with.
    auto publish = [&](const char* from, const char* to) {
        const QByteArray page = app.read(QString::fromLatin1(from));
        // The declaration must lie in the first 1024 bytes for the browser to use it.
        EXPECT_LT(page.indexOf("<meta charset=\"UTF-8\">"), 1024 - 22);
        rwtest::writeFile(site.filePath(QLatin1String(to) + QStringLiteral(".html")), page);
        rwtest::writeFile(site.filePath(QLatin1String(to) + QStringLiteral("-utf8.html")),
                          rwtest::pageText(page).value_or(QString()).toUtf8());
    };
    publish("ravelmont_yosou/20240601_nakayama_r1.txt", "page");
    publish("ravelmont_wp/20240601_nakayama_pdf.txt", "print");
    rwtest::writeFile(site.filePath(QStringLiteral("check.html")), kCheckPage);

    const QString out = runChromium(QStringLiteral("--dump-dom"), site.filePath(QStringLiteral("check.html")));
    ASSERT_TRUE(out.contains(QStringLiteral("DONE"))) << out.toStdString();

    for (const char* doc : {"page.html", "print.html"}) {
        const QString p = QLatin1String(doc) + u' ';
        EXPECT_EQ(readerLine(out, p + "charset"), QStringLiteral("UTF-8")) << doc;
        EXPECT_EQ(readerLine(out, p + "replacement"), QStringLiteral("false")) << doc;
        EXPECT_TRUE(readerLine(out, p + "h1").startsWith(QStringLiteral("無料競馬予想｜中山｜3回中山1日｜"))) << doc;
        EXPECT_EQ(readerLine(out, p + "footerOutsideMain"), QStringLiteral("true")) << doc;
    }
    // The page: one race, its bar twice; three white fonts (frames 2, 3, 4).
    EXPECT_EQ(readerLine(out, QStringLiteral("page.html title")), QStringLiteral("無料競馬予想｜中山｜3回中山1日｜1R"));
    EXPECT_EQ(readerLine(out, QStringLiteral("page.html betRows")), QStringLiteral("3"));
    EXPECT_EQ(readerLine(out, QStringLiteral("page.html cardRows")), QStringLiteral("6"));
    EXPECT_EQ(readerLine(out, QStringLiteral("page.html raceLinks")), QStringLiteral("12,12"));
    EXPECT_EQ(readerLine(out, QStringLiteral("page.html whiteFonts")), QStringLiteral("3"));
    // The print page: twelve sections, no title of its own.
    EXPECT_EQ(readerLine(out, QStringLiteral("print.html title")), QString());
    EXPECT_EQ(readerLine(out, QStringLiteral("print.html betRows")), QStringLiteral("3,3,3,3,3,3,3,3,3,3,3,3"));
    EXPECT_EQ(readerLine(out, QStringLiteral("print.html cardRows")), QStringLiteral("6,2,2,2,2,2,2,2,2,2,2,2"));
    EXPECT_EQ(readerLine(out, QStringLiteral("print.html raceLinks")),
              QStringLiteral("12,12,12,12,12,12,12,12,12,12,12,12"));

    // The pictures: as written, byte for byte the same as in plain UTF-8
    // (the PNG encoder is deterministic), and not blank (a blank page packs
    // into a few kilobytes).
    const QString keep = qEnvironmentVariable("RACEWEEK_PICTURES");
    for (const char* doc : {"page", "print"}) {
        QByteArray shots[2];
        for (int utf8 = 0; utf8 < 2; ++utf8) {
            const QString name = QLatin1String(doc) + (utf8 ? QStringLiteral("-utf8") : QString());
            const QString png = site.filePath(name + QStringLiteral(".png"));
            runChromium(QStringLiteral("--screenshot=") + png, site.filePath(name + QStringLiteral(".html")));
            shots[utf8] = rwtest::readFile(png);
            ASSERT_TRUE(shots[utf8].startsWith("\x89PNG")) << name.toStdString() << ": no screenshot";
            if (!keep.isEmpty() && !utf8)
                QFile::copy(png, keep + QLatin1Char('/') + QLatin1String(doc) + QStringLiteral("-chromium.png"));
        }
        EXPECT_TRUE(shots[0] == shots[1]) << doc << ": the page as written draws otherwise than its UTF-8 form";
        EXPECT_GT(shots[0].size(), 40000) << doc << ": the screenshot shows next to no text";
    }
}

}  // namespace
