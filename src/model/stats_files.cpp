#include "model/stats_files.h"

#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/record_file.h"

#include <QFile>
#include <cmath>

namespace rw::model {

double statsNumber(QByteArrayView record, Field f) { return valLenient(member(record, f.pos, f.width)); }

qint64 StatsRecordCount(qint64 fileLength, int recordLength) {
    if (recordLength <= 0 || fileLength <= 0) return 0;
    return qint64(std::nearbyint(double(fileLength) / double(recordLength)));
}

int StatsKeyWidth(int recordLength) {
    return recordLength == PeopleStatsRecord::kLength ? PeopleStatsRecord::StatsCode.width
                                                      : SireStatsRecord::StatsKey.width;
}

StatsFileImage ReadStatsFile(QStringView systemName, int recordLength) {
    const QString path = AppFile(systemName);
    {
        RecordFile created(path, recordLength);  // a missing file is created empty
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) failFile("open", f);
    StatsFileImage img;
    img.data = f.readAll();
    if (f.error() != QFileDevice::NoError) fail("cannot read " + path.toStdString());
    img.length = recordLength;
    img.count = StatsRecordCount(img.data.size(), recordLength);
    img.data.resize(img.count * recordLength, '\0');
    return img;
}

std::optional<QByteArray> StatsIndex::find(QStringView systemName, int recordLength, QByteArrayView key) {
    const auto id = std::make_pair(systemName.toString(), recordLength);
    auto it = tables_.find(id);
    if (it == tables_.end()) {
        Table t;
        t.image = ReadStatsFile(systemName, recordLength);
        const int w = StatsKeyWidth(recordLength);
        if (recordLength < w) fail("record length " + std::to_string(recordLength) + " is shorter than its key");
        t.first.reserve(t.image.count);
        for (qint64 n = t.image.count; n >= 1; --n)  // backwards: the first record of a key stays
            t.first.insert(t.image.record(n).first(w).toByteArray(), n);
        it = tables_.emplace(id, std::move(t)).first;
    }
    const Table& t = it->second;
    if (key.size() != StatsKeyWidth(recordLength)) return std::nullopt;
    const auto hit = t.first.constFind(key.toByteArray());
    if (hit == t.first.cend()) return std::nullopt;
    return t.image.record(hit.value()).toByteArray();
}

std::optional<QByteArray> FindStatsRecord(StatsIndex& index, QStringView systemName, int recordLength,
                                          QByteArrayView key) {
    return index.find(systemName, recordLength, key);
}

}  // namespace rw::model
