#include "prediction/day_head_line.h"

#include "common/cp932.h"
#include "common/numbers.h"

#include <cstdint>

namespace rw::prediction {

QList<CsvValue> DayHeadLine(const CodeTable& codes, QByteArrayView dayKey) {
    const QByteArray key = dayKey.toByteArray();
    auto slice = [&](qsizetype at, qsizetype n) { return key.mid(at, n); };
    auto number = [&](qsizetype at) { return numberText(std::int64_t(valLenient(key.mid(at, 2)))); };
    return {CsvValue::text(slice(0, 4) + cp932::encode(u"年")),
            CsvValue::text(slice(4, 2) + cp932::encode(u"月")),
            CsvValue::text(slice(6, 2) + cp932::encode(u"日")),
            CsvValue::text(number(10) + cp932::encode(u"回")),
            CodeNameItem(codes, "2001", key.mid(8, 2), 4),
            CsvValue::text(number(12) + cp932::encode(u"日目"))};
}

}  // namespace rw::prediction
