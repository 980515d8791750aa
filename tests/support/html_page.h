#pragma once
// A published page as a browser reads it under the UTF-8 its head declares.
#include <QByteArray>
#include <QString>
#include <optional>

namespace rwtest {

// The bytes decoded as UTF-8, then every numeric character reference
// ("&#26085;", "&#x65E5;") resolved; nullopt when the bytes are not UTF-8.
std::optional<QString> pageText(const QByteArray& bytes);

}  // namespace rwtest
