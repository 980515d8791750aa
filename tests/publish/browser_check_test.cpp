// The published page in a real browser: the web page and a day's print page,
// converted to their declared UTF-8 and saved as ".html", are opened by
// headless Chromium (Debian's package; the test is skipped where it is not
// installed). A checking page loads each into a frame and reports what the
// browser parsed: the document's encoding, no replacement character, the
// heading with the course name, bet tables of three rows, race cards of a
// header row and one row per runner, race bars of twelve links, the footer
// outside the main column.
#include "race_fixture.h"

#include "common/cp932.h"
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
    auto publish = [&](const char* from, const char* to) {
        const QByteArray html = cp932::decode(app.read(QString::fromLatin1(from))).toUtf8();
        // The declaration must lie in the first 1024 bytes for the browser to use it.
        EXPECT_LT(html.indexOf("<meta charset=\"UTF-8\">"), 1024 - 22);
        rwtest::writeFile(site.filePath(QLatin1String(to)), html);
    };
    publish("ravelmont_yosou/20240601_nakayama_r1.txt", "page.html");
    publish("ravelmont_wp/20240601_nakayama_pdf.txt", "print.html");
    rwtest::writeFile(site.filePath(QStringLiteral("check.html")), kCheckPage);

    QTemporaryDir profile;
    QProcess browser;
    browser.start(QString::fromLatin1(kChromium),
                  {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                   QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                   QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                   QStringLiteral("--disable-quic"), QStringLiteral("--allow-file-access-from-files"),
                   QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--virtual-time-budget=10000"),
                   QStringLiteral("--dump-dom"),
                   QUrl::fromLocalFile(site.filePath(QStringLiteral("check.html"))).toString()});
    ASSERT_TRUE(browser.waitForFinished(120000)) << "chromium did not finish";
    const QString out = QString::fromUtf8(browser.readAllStandardOutput());
    ASSERT_TRUE(out.contains(QStringLiteral("DONE"))) << out.toStdString() << browser.readAllStandardError().toStdString();

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
}

}  // namespace
