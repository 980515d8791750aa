#include "reference/day_finder.h"

#include "common/numbers.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rw::reference {
namespace {

namespace fs = std::filesystem;

int twoDigits(QByteArrayView t, qsizetype at) { return (t[at] - '0') * 10 + (t[at + 1] - '0'); }

std::function<bool(const QString&)>& listingHook() {
    static std::function<bool(const QString&)> hook;
    return hook;
}

fs::path nativePath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

bool sameIgnoringCase(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// What opening the name for reading needs: it is there and is no folder.
bool opensAsFile(const fs::path& p) {
    std::error_code ec;
    const fs::file_status st = fs::status(p, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

}  // namespace

QList<ScanDate> ScanDates() {
    QList<ScanDate> dates;
    dates.reserve(kDatesPerScan);
    for (int y = kLastYear; y >= kFirstYear; --y)
        for (int m = 12; m >= 1; --m)
            for (int d = 31; d >= 1; --d) dates.append({y, m, d, numberText(y) + twoDigitText(m) + twoDigitText(d)});
    return dates;
}

QString SearchingText(const ScanDate& d) {
    return QString::number(d.year) + QStringLiteral("年") + QString::fromLatin1(twoDigitText(d.month)) +
           QStringLiteral("月") + QString::fromLatin1(twoDigitText(d.day)) + QStringLiteral("日検索中");
}

bool IsCandidateDayKey(QByteArrayView k) {
    if (k.size() != 14) return false;
    for (char c : k)
        if (c < '0' || c > '9') return false;
    const int year = twoDigits(k, 0) * 100 + twoDigits(k, 2);
    const int month = twoDigits(k, 4), day = twoDigits(k, 6);
    const int course = twoDigits(k, 8), meeting = twoDigits(k, 10), dayOfMeeting = twoDigits(k, 12);
    return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
           course >= 1 && course <= 10 && meeting >= 1 && meeting <= 7 && dayOfMeeting >= 1 && dayOfMeeting <= 12;
}

DayFinder::DayFinder(const QString& folder, const QString& fileName) : folder_(folder), fileName_(fileName) {
    list();
    for (auto& keys : byDate_) std::sort(keys.begin(), keys.end());
}

const QList<QByteArray>& DayFinder::keysOf(const QByteArray& date) const {
    static const QList<QByteArray> none;
    const auto it = byDate_.constFind(date);
    return it == byDate_.cend() ? none : *it;
}

QString DayFinder::pathOf(const QByteArray& dayKey) const { return folder_ + QString::fromLatin1(dayKey) + fileName_; }

void DayFinder::add(const QByteArray& key) {
    QList<QByteArray>& keys = byDate_[key.left(8)];
    if (!keys.contains(key)) keys.append(key);
}

void DayFinder::list() {
    const fs::path dir = nativePath(folder_);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return;  // no folder: no name opens
    fs::directory_iterator it(dir, ec);
    if (ec || (listingHook() && listingHook()(folder_))) {
        probeAll();
        return;
    }
    const QByteArray suffix = fileName_.toLatin1();
    const qsizetype length = 14 + suffix.size();
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            probeAll();
            return;
        }
        const std::string raw = it->path().filename().string();
        const QByteArrayView name(raw.data(), qsizetype(raw.size()));
        if (name.size() != length) continue;
        const QByteArray key = name.first(14).toByteArray();
        if (!IsCandidateDayKey(key)) continue;
        const QByteArrayView tail = name.sliced(14);
        if (tail == QByteArrayView(suffix)) {
            if (opensAsFile(it->path())) add(key);
        } else if (sameIgnoringCase(tail, suffix)) {
            // Another spelling of the name: it counts only where opening the
            // candidate's own spelling reaches it.
            if (opensAsFile(nativePath(pathOf(key)))) add(key);
        }
    }
}

void DayFinder::probeAll() {
    probed_ = true;
    byDate_.clear();
    // 1,562,400 names: each is looked up relative to the open folder, from a
    // name made in place, so a probe costs one lookup of one name and no
    // allocation. A folder that cannot be opened so is probed by full path.
    const int dir = ::open(QFile::encodeName(folder_).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QByteArray suffix = QFile::encodeName(fileName_);
    QByteArray name(14, '0');
    name += suffix;
    for (const ScanDate& d : ScanDates()) {
        std::memcpy(name.data(), d.date.constData(), 8);
        for (int c = 1; c <= 10; ++c)
            for (int m = 1; m <= 7; ++m)
                for (int n = 1; n <= 12; ++n) {
                    char* k = name.data() + 8;
                    k[0] = char('0' + c / 10), k[1] = char('0' + c % 10);
                    k[2] = char('0' + m / 10), k[3] = char('0' + m % 10);
                    k[4] = char('0' + n / 10), k[5] = char('0' + n % 10);
                    bool there;
                    if (dir >= 0) {
                        struct stat st;
                        there = ::fstatat(dir, name.constData(), &st, 0) == 0 && !S_ISDIR(st.st_mode);
                    } else {
                        there = opensAsFile(nativePath(pathOf(name.left(14))));
                    }
                    if (there) add(name.left(14));
                }
    }
    if (dir >= 0) ::close(dir);
}

void SetDayListingHook(std::function<bool(const QString& folder)> refuse) { listingHook() = std::move(refuse); }

void ForEachScanDate(const DayFinder& finder,
                     const std::function<void(const ScanDate&, const QList<QByteArray>& keys)>& onDate) {
    for (const ScanDate& d : ScanDates()) onDate(d, finder.keysOf(d.date));
}

}  // namespace rw::reference
