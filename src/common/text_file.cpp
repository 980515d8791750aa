#include "common/text_file.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"

#include <QFileInfo>

namespace rw {

CsvValue CsvValue::textOf(const QString& s) { return CsvValue(Kind::Text, cp932::encode(s)); }

QByteArray CsvValue::render() const {
    switch (kind_) {
    case Kind::Text: return '"' + bytes_ + '"';
    case Kind::Number: return bytes_;
    case Kind::None: break;
    }
    return {};
}

void CsvValue::appendTo(QByteArray& out) const {
    switch (kind_) {
    case Kind::Text:
        out += '"';
        out += bytes_;
        out += '"';
        return;
    case Kind::Number: out += bytes_; return;
    case Kind::None: return;
    }
}

void appendCsvLine(QByteArray& out, const QList<CsvValue>& values) {
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i) out += ',';
        values[i].appendTo(out);
    }
}

QByteArray csvLine(const QList<CsvValue>& values) {
    QByteArray out;
    appendCsvLine(out, values);
    return out;
}

QByteArray csvLine(std::initializer_list<CsvValue> values) { return csvLine(QList<CsvValue>(values)); }

void TextOut::open(const QString& path, Mode mode) {
    close();
    RequireRegularFile(path);
    auto f = std::make_unique<QFile>(path);
    // Unbuffered: a program ended at once loses nothing already written.
    const auto flags = QIODevice::Unbuffered | (mode == Mode::Output ? (QIODevice::WriteOnly | QIODevice::Truncate)
                                                                     : (QIODevice::WriteOnly | QIODevice::Append));
    if (!f->open(flags)) failFile("open", *f);
    file_ = std::move(f);
}

void TextOut::close() {
    if (file_) file_->close();
    file_.reset();
}

void TextOut::writeRaw(QByteArrayView bytes) {
    if (!isOpen()) fail("text file not open");
    WriteOrRestore(*file_, bytes);
}

void TextOut::printLine(QByteArrayView cp932) {
    QByteArray line = cp932.toByteArray();
    line += "\r\n";
    writeRaw(line);
}

void TextOut::printText(const QString& text) { printLine(cp932::encode(text)); }

void TextOut::writeValues(const QList<CsvValue>& values) { printLine(csvLine(values)); }
void TextOut::writeValues(std::initializer_list<CsvValue> values) { printLine(csvLine(values)); }

void emptyTextFile(const QString& path) {
    // In a journalled run the file is replaced, so that its old bytes can
    // still come back.
    if (RunJournal::active()) {
        RequireRegularFile(path);
        ReplaceFile(path, {});
        return;
    }
    TextOut(path, TextOut::Mode::Output).close();
}

void appendLine(const QString& path, QByteArrayView cp932) {
    TextOut out(path, TextOut::Mode::Append);
    out.printLine(cp932);
}

void appendValues(const QString& path, std::initializer_list<CsvValue> values) {
    TextOut out(path, TextOut::Mode::Append);
    out.writeValues(values);
}

namespace {
QByteArray readFile(const QString& path, bool* exists) {
    QFile f(path);
    *exists = f.exists();
    if (!*exists) return {};
    RequireRegularFile(path);
    if (!f.open(QIODevice::ReadOnly)) failFile("open", f);
    QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError) failFile("read", f);
    return all;
}
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
}  // namespace

QList<QByteArray> splitValues(QByteArrayView s) {
    QList<QByteArray> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        // Leading blanks and line ends separate nothing.
        while (i < n && (s[i] == ' ' || s[i] == '\t' || isLineEnd(s[i]))) ++i;
        if (i >= n) break;
        QByteArray value;
        if (s[i] == '"') {
            qsizetype close = s.indexOf('"', i + 1);
            if (close < 0) close = n;
            value = s.sliced(i + 1, close - i - 1).toByteArray();
            i = close + 1;
            while (i < n && s[i] != ',' && !isLineEnd(s[i])) ++i;  // rest up to the separator
        } else {
            qsizetype j = i;
            while (j < n && s[j] != ',' && !isLineEnd(s[j])) ++j;
            qsizetype e = j;
            while (e > i && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
            value = s.sliced(i, e - i).toByteArray();
            i = j;
        }
        out.append(value);
        if (i < n && s[i] == ',') {
            ++i;
            // A comma right before a line end or the end leaves an empty value.
            qsizetype k = i;
            while (k < n && (s[k] == ' ' || s[k] == '\t')) ++k;
            if (k >= n || isLineEnd(s[k])) out.append(QByteArray());
        }
    }
    return out;
}

QList<QByteArray> readValues(const QString& path) {
    bool exists = false;
    return splitValues(readFile(path, &exists));
}

QList<QByteArray> readLines(const QString& path) {
    QList<QByteArray> out;
    LineReader reader(path);
    if (!QFile::exists(path)) return out;
    if (!reader.open()) reader.fail("open");
    for (QByteArray line; reader.next(line);) out.append(line);
    return out;
}

bool LineReader::open() {
    const QFileInfo info(file_.fileName());
    notRegular_ = info.exists() && !info.isFile();
    return !notRegular_ && file_.open(QIODevice::ReadOnly);
}

void LineReader::fail(std::string_view action) const {
    if (notRegular_) failFile(action, file_.fileName(), QStringLiteral("not a regular file"));
    failFile(action, file_);
}

bool LineReader::next(QByteArray& line) {
    line.clear();
    for (;;) {
        if (pos_ >= chunk_.size()) {
            chunk_ = file_.read(1 << 20);
            pos_ = 0;
            if (chunk_.isEmpty()) {
                if (file_.error() != QFileDevice::NoError) fail("read");
                return !line.isEmpty();  // a last line without its end
            }
        }
        const char* d = chunk_.constData();
        qsizetype j = pos_;
        const qsizetype n = chunk_.size();
        if (skipLf_) {
            skipLf_ = false;
            if (d[j] == '\n') {
                pos_ = ++j;
                continue;
            }
        }
        while (j < n && d[j] != '\r' && d[j] != '\n') ++j;
        line.append(d + pos_, j - pos_);
        if (j < n) {
            skipLf_ = d[j] == '\r';
            pos_ = j + 1;
            return true;
        }
        pos_ = j;
    }
}

}  // namespace rw
