#include "common/skip.h"

#include "common/kestrav_path.h"
#include "common/ui_port.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace rw {
namespace {
// Messages on stderr per report beyond the summary: the full list is in the
// log; when the log cannot be written, stderr shows more of it, still only
// a screenful.
constexpr size_t kStderrMessages = 3;
constexpr size_t kStderrMessagesWithoutLog = 20;

QByteArray logBlock(const std::string& task, size_t total, const std::vector<std::pair<std::string, size_t>>& lines) {
    QByteArray b = QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8();
    b += ' ' + QByteArray::fromStdString(task) + ": " + QByteArray::number(qulonglong(total)) + " skipped, " +
         QByteArray::number(qulonglong(lines.size())) + " distinct\n";
    for (const auto& [text, count] : lines)
        b += QByteArray::number(qulonglong(count)) + '\t' + QByteArray::fromStdString(text) + '\n';
    return b;
}

// Appends to the log; an empty text on success, else the reason.
QString appendLog(const QString& path, const QByteArray& block) {
    QFileInfo info(path);
    if (info.exists() && !info.isFile()) return QStringLiteral("not a regular file");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return f.errorString();
    const qint64 before = f.size();
    if (f.write(block) != block.size() || !f.flush()) {
        const QString why = f.errorString();
        f.resize(before);
        return why.isEmpty() ? QStringLiteral("write failed") : why;
    }
    return {};
}
}  // namespace

void SkipLog::record(std::string_view what, std::string_view why) {
    std::string line(what);
    line += ": ";
    line += why;
    skipped_.push_back(std::move(line));
}

std::vector<std::pair<std::string, size_t>> SkipLog::distinct() const {
    std::vector<std::pair<std::string, size_t>> out;
    std::unordered_map<std::string_view, size_t> at;
    for (const std::string& s : skipped_) {
        const auto [it, added] = at.emplace(s, out.size());
        if (added)
            out.emplace_back(s, 1);
        else
            ++out[it->second].second;
    }
    return out;
}

QString SkipSummaryText(size_t skipped, const QString& logPath, const QString& logFailure) {
    QString text = QString::fromUtf8("処理できずに飛ばした命令が %1 件あります。").arg(qulonglong(skipped));
    if (logFailure.isEmpty())
        text += QString::fromUtf8("一覧: ") + logPath;
    else
        text += QString::fromUtf8("一覧を %1 に書けませんでした (%2)。").arg(logPath, logFailure);
    return text;
}

size_t SkipLog::report(UiPort& ui) const {
    if (skipped_.empty()) return 0;
    const auto lines = distinct();
    const QString folder = AppPath.isEmpty() ? GetAppPath() : AppPath;
    const QString path = folder + QString::fromUtf16(kSkipLogFile);
    const QString failure = appendLog(path, logBlock(task_, skipped_.size(), lines));
    std::fprintf(stderr, "%s: %zu statements skipped (%zu distinct); ", task_.c_str(), skipped_.size(), lines.size());
    if (failure.isEmpty())
        std::fprintf(stderr, "the list is in %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write the list to %s: %s\n", qPrintable(path), qPrintable(failure));
    const size_t shown = std::min(failure.isEmpty() ? kStderrMessages : kStderrMessagesWithoutLog, lines.size());
    for (size_t i = 0; i < shown; ++i)
        std::fprintf(stderr, "%s: skipped %zu x %s\n", task_.c_str(), lines[i].second, lines[i].first.c_str());
    if (shown < lines.size()) std::fprintf(stderr, "%s: ... %zu more distinct\n", task_.c_str(), lines.size() - shown);
    ui.messageBox(SkipSummaryText(skipped_.size(), path, failure));
    return skipped_.size();
}

}  // namespace rw
