#include "prediction/code_table.h"

#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/text_file.h"

#include <string>

namespace rw::prediction {
namespace {
// The table number's length first, so that no two pairs share a key.
QByteArray indexKey(QByteArrayView tableNo, QByteArrayView code) {
    QByteArray k = QByteArray::number(tableNo.size());
    k.reserve(k.size() + tableNo.size() + code.size() + 1);
    k.append(':').append(tableNo).append(code);
    return k;
}
}  // namespace

void FillCodeTable(CodeTable& table, const QList<QByteArray>& values) {
    table.rows.clear();
    table.lastRow.clear();
    const qsizetype n = values.size();
    table.rows.reserve((n + kCodeColumns - 1) / kCodeColumns);
    for (qsizetype start = 0; start < n; start += kCodeColumns) {
        CodeRow row;
        for (int c = 0; c < kCodeColumns && start + c < n; ++c) row[size_t(c)] = values[start + c];
        table.lastRow.insert(indexKey(row[0], row[1]), table.rows.size());
        table.rows.append(std::move(row));
    }
}

void LoadCodeTable(CodeTable& table) {
    FillCodeTable(table, readValues(AppFile(kCodeTableFile)));
}

std::optional<QByteArray> CodeLookup(const CodeTable& table, QByteArrayView tableNo, QByteArrayView code,
                                     int column) {
    if (column < 0 || column >= kCodeColumns)
        fail("code table column " + std::to_string(column) + " outside 0..7");
    const auto it = table.lastRow.constFind(indexKey(tableNo, code));
    if (it == table.lastRow.cend()) return std::nullopt;
    return table.rows[*it][size_t(column)];
}

QByteArray CodeName(const CodeTable& table, QByteArrayView tableNo, QByteArrayView code, int column) {
    return CodeLookup(table, tableNo, code, column).value_or(QByteArray());
}

CsvValue CodeNameItem(const CodeTable& table, QByteArrayView tableNo, QByteArrayView code, int column) {
    const std::optional<QByteArray> name = CodeLookup(table, tableNo, code, column);
    return name ? CsvValue::text(*name) : CsvValue::none();
}

}  // namespace rw::prediction
