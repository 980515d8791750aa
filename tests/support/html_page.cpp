#include "support/html_page.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace rwtest {

std::optional<QString> pageText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString raw = utf8.decode(bytes);
    if (utf8.hasError()) return std::nullopt;
    static const QRegularExpression reference(QStringLiteral("&#([xX]?)([0-9A-Fa-f]+);"));
    QString out;
    qsizetype from = 0;
    for (auto it = reference.globalMatch(raw); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(raw).mid(from, m.capturedStart() - from);
        bool ok = false;
        const uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        const char32_t c = ok ? char32_t(code) : char32_t(0xFFFD);
        out += QString::fromUcs4(&c, 1);
        from = m.capturedEnd();
    }
    out += QStringView(raw).mid(from);
    return out;
}

}  // namespace rwtest
