#include "common/text_file.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"

#include <cerrno>

#include <unistd.h>

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
    // Each line goes to the system as it is written: a program ended at once
    // loses nothing already written.
    file_ = OpenRegularFile(path, mode == Mode::Output ? FileAccess::Write : FileAccess::Append);
    path_ = path;
}

void TextOut::close() {
    file_.close();
    path_.clear();
}

void TextOut::writeRaw(QByteArrayView bytes) {
    if (!isOpen()) fail("text file not open");
    AppendOrRestore(file_, path_, bytes);
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

void appendBytes(const QString& path, QByteArrayView bytes) {
    TextOut out(path, TextOut::Mode::Append);
    out.writeRaw(bytes);
}

void appendValues(const QString& path, std::initializer_list<CsvValue> values) {
    TextOut out(path, TextOut::Mode::Append);
    out.writeValues(values);
}

namespace {
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
    QByteArray all;
    ReadWholeFile(path, all);
    return splitValues(all);
}

QList<QByteArray> readLines(const QString& path) {
    QList<QByteArray> out;
    LineReader reader(path);
    if (!reader.open()) {
        if (reader.missing()) return out;
        reader.fail("open");
    }
    for (QByteArray line; reader.next(line);) out.append(line);
    return out;
}

bool LineReader::open() {
    file_ = TryOpenRegularFile(path_, FileAccess::Read, nullptr, &error_, &notRegular_);
    return file_.isOpen();
}

bool LineReader::missing() const { return !file_.isOpen() && (error_ == ENOENT || error_ == ENOTDIR); }

void LineReader::fail(std::string_view action) const {
    if (notRegular_) failFile(action, path_, QStringLiteral("not a regular file"));
    failFile(action, path_, qt_error_string(error_));
}

bool LineReader::next(QByteArray& line) {
    line.clear();
    for (;;) {
        if (pos_ >= chunk_.size()) {
            chunk_.resize(1 << 20);
            ssize_t n;
            do {
                n = file_.isOpen() ? ::read(file_.get(), chunk_.data(), size_t(chunk_.size())) : 0;
            } while (n < 0 && errno == EINTR);
            if (n < 0) {
                error_ = errno;
                chunk_.clear();
                fail("read");
            }
            chunk_.resize(qsizetype(n));
            pos_ = 0;
            if (chunk_.isEmpty()) return !line.isEmpty();  // a last line without its end
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
