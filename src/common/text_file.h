#pragma once
// Text files in code page 932 with lines ending CR LF:
// - quoted comma-separated values, one write = one line, texts in double
//   quotes, numbers bare, the "no value" item written as nothing;
// - plain lines;
// - value-by-value reading (comma or line separated, quotes removed, line
//   ends not significant) and line-by-line reading.
#include "common/cp932.h"
#include "common/file_ops.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <initializer_list>
#include <memory>
#include <string_view>

namespace rw {

// One item of a quoted-values line.
class CsvValue {
public:
    static CsvValue text(QByteArrayView cp932) { return CsvValue(Kind::Text, cp932.toByteArray()); }
    static CsvValue textOf(const QString& s);
    static CsvValue number(QByteArrayView formatted) { return CsvValue(Kind::Number, formatted.toByteArray()); }
    static CsvValue none() { return CsvValue(Kind::None, {}); }
    QByteArray render() const;
    void appendTo(QByteArray& out) const;  // render() added to `out`

private:
    enum class Kind { Text, Number, None };
    CsvValue(Kind k, QByteArray b) : kind_(k), bytes_(std::move(b)) {}
    Kind kind_;
    QByteArray bytes_;
};

QByteArray csvLine(std::initializer_list<CsvValue> values);  // without line end
QByteArray csvLine(const QList<CsvValue>& values);
void appendCsvLine(QByteArray& out, const QList<CsvValue>& values);  // csvLine(values) added to `out`

// A file's lines built in memory before the file takes them, each ending
// CR LF: quoted-values lines, and plain lines made of parts (ASCII literals
// and record or code table bytes as they are, u8 literals our own texts in
// code page 932, whole numbers). The lines go to the builder's own bytes or
// to a buffer it is given.
class TextLines {
public:
    TextLines() = default;
    explicit TextLines(QByteArray& out) : out_(&out) {}

    // One quoted-values line.
    void add(const QList<CsvValue>& values) {
        appendCsvLine(buffer(), values);
        buffer() += "\r\n";
    }
    void add(std::initializer_list<CsvValue> values) { add(QList<CsvValue>(values)); }
    // One plain line of parts.
    template <class... P>
    void line(const P&... parts) {
        (put(parts), ...);
        buffer() += "\r\n";
    }
    // The line followed by an empty line.
    template <class... P>
    void lineThenEmpty(const P&... parts) {
        line(parts...);
        buffer() += "\r\n";
    }

    const QByteArray& bytes() const { return out_ ? *out_ : own_; }
    bool isEmpty() const { return bytes().isEmpty(); }

private:
    QByteArray& buffer() { return out_ ? *out_ : own_; }
    void put(const char* ascii) { buffer() += ascii; }
    void put(const char8_t* text) { buffer() += sj(text); }
    void put(QByteArrayView bytes) { buffer() += bytes; }
    void put(const QByteArray& bytes) { buffer() += bytes; }
    void put(int n) { buffer() += QByteArray::number(n); }

    QByteArray own_;
    QByteArray* out_ = nullptr;
};

// A text file opened for output (emptied) or for appending. Throws
// StepFailure when it cannot be opened or written.
class TextOut {
public:
    enum class Mode { Output, Append };
    TextOut() = default;
    TextOut(const QString& path, Mode mode) { open(path, mode); }
    void open(const QString& path, Mode mode);
    void close();
    bool isOpen() const { return file_.isOpen(); }

    void writeValues(std::initializer_list<CsvValue> values);  // one quoted line
    void writeValues(const QList<CsvValue>& values);
    void printLine(QByteArrayView cp932);                       // one plain line
    void printText(const QString& text);
    void writeRaw(QByteArrayView bytes);                        // no line end added

private:
    FileDescriptor file_;
    QString path_;
};

// Opens for output and closes at once: the file exists and is empty.
void emptyTextFile(const QString& path);
// One plain line / one quoted line appended (open, write, close).
void appendLine(const QString& path, QByteArrayView cp932);
// The bytes as they are, no line end added, appended likewise.
void appendBytes(const QString& path, QByteArrayView bytes);
void appendValues(const QString& path, std::initializer_list<CsvValue> values);

// Every value of a file read value by value; an absent file gives none.
QList<QByteArray> readValues(const QString& path);
QList<QByteArray> splitValues(QByteArrayView content);
// Every line of a file, without line ends; an absent file gives none.
QList<QByteArray> readLines(const QString& path);

// A file read one line at a time, for files whose lines are large (a line
// ends with CR LF, CR or LF; a last line without its end counts).
class LineReader {
public:
    explicit LineReader(const QString& path) : path_(path) {}
    // False also when the path is not a regular file (fail() says so).
    bool open();
    // After a failed open: nothing stands at the path.
    bool missing() const;
    // Throws StepFailure for the file's last error (after a failed open).
    [[noreturn]] void fail(std::string_view action) const;
    // The next line without its end; false at the end of the file. Throws
    // StepFailure when the file cannot be read.
    bool next(QByteArray& line);

private:
    QString path_;
    FileDescriptor file_;
    int error_ = 0;  // the system's error of the failed open or read
    QByteArray chunk_;
    qsizetype pos_ = 0;
    bool skipLf_ = false;
    bool notRegular_ = false;
};

}  // namespace rw
