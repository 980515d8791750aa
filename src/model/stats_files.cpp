#include "model/stats_files.h"

#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "model/record_image.h"

#include <cmath>

namespace rw::model {

double statsNumber(QByteArrayView record, Field f) { return valLenient(member(record, f)); }

qint64 StatsRecordCount(qint64 fileLength, int recordLength) {
    if (recordLength <= 0 || fileLength <= 0) return 0;
    return qint64(std::nearbyint(double(fileLength) / double(recordLength)));
}

int StatsKeyWidth(int recordLength) {
    return recordLength == PeopleStatsRecord::kLength ? PeopleStatsRecord::StatsCode.width
                                                      : SireStatsRecord::StatsKey.width;
}

StatsFileImage ReadStatsFile(QStringView systemName, int recordLength) {
    // Read as the random-access file is opened: a missing file is created empty.
    StatsFileImage img;
    img.data = ReadRecordImage(AppFile(systemName), recordLength, PartRecord::Nearest, &img.count);
    img.length = recordLength;
    return img;
}

void ScanStatsFile(QStringView systemName, int recordLength, const std::function<void(QByteArrayView)>& each) {
    if (recordLength <= 0) fail("record length must be positive");
    // Opened as the random-access file is: a missing file is created empty.
    RecordFile::readEach(AppFile(systemName), recordLength, RecordFile::PartRecord::Nearest, each,
                         RecordFile::Missing::Created);
}

std::optional<QByteArray> StatsIndex::find(QStringView systemName, int recordLength, QByteArrayView key) {
    auto it = tables_.find(std::make_pair(systemName, recordLength));
    if (it == tables_.end()) {
        Table t;
        t.image = ReadStatsFile(systemName, recordLength);
        const int w = StatsKeyWidth(recordLength);
        if (recordLength < w) fail("record length " + std::to_string(recordLength) + " is shorter than its key");
        t.first.reserve(size_t(t.image.count));
        for (qint64 n = t.image.count; n >= 1; --n) {  // backwards: the first record of a key stays
            const QByteArrayView k = t.image.record(n).first(w);
            t.first[std::string_view(k.data(), size_t(k.size()))] = n;
        }
        it = tables_.emplace(std::make_pair(systemName.toString(), recordLength), std::move(t)).first;
    }
    const Table& t = it->second;
    if (key.size() != StatsKeyWidth(recordLength)) return std::nullopt;
    const auto hit = t.first.find(std::string_view(key.data(), size_t(key.size())));
    if (hit == t.first.end()) return std::nullopt;
    const QByteArrayView r = t.image.record(hit->second);
    return QByteArray::fromRawData(r.data(), r.size());
}

std::optional<QByteArray> FindStatsRecord(StatsIndex& index, QStringView systemName, int recordLength,
                                          QByteArrayView key) {
    return index.find(systemName, recordLength, key);
}

}  // namespace rw::model
