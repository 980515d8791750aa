#include "prediction/race_list.h"

#include "common/cp932.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/kestrav_path.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/layouts.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/run_files.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace rw::prediction {
namespace {

using jv::Field;
using jv::RaceKey;

constexpr Field kConditionYoungest = jv::findField(jv::kRA, "race condition codes", {}, 4);

// Text comparison of a two-character code with a range.
QByteArray raceIdOf(QByteArrayView rec) { return RaceKey::ofRecord(rec).raceId(); }

QString latin(QByteArrayView b) { return cp932::decode(b); }

// "2024年07月06日05東京02回03日11R" + blanks + RaceID.
QString listItem(QByteArrayView rec, QByteArrayView courseName, int blanks, QByteArrayView raceId) {
    const QByteArrayView md = member(rec, jv::head::MonthDay);
    QString s = latin(member(rec, jv::head::Year)) + QStringLiteral("年") + latin(md.first(2)) + QStringLiteral("月") +
                latin(md.sliced(2)) + QStringLiteral("日") + latin(member(rec, jv::head::Racecourse)) +
                cp932::decode(courseName) + latin(member(rec, jv::head::Meeting)) + QStringLiteral("回") +
                latin(member(rec, jv::head::Day)) + QStringLiteral("日") + latin(member(rec, jv::head::RaceNumber)) +
                QStringLiteral("R");
    s += QString(blanks, u' ');
    s += latin(raceId);
    return s;
}

bool isTwelveFullWidthSpaces(QByteArrayView name) {
    if (name.size() != 24) return false;
    for (qsizetype i = 0; i < 24; i += 2)
        if (uchar(name[i]) != 0x81 || uchar(name[i + 1]) != 0x40) return false;
    return true;
}

void addRunnerFile(RunWork& work, const QByteArray& raceId) {
    if (work.runners.contains(raceId)) return;
    work.runners.insert(raceId, {});
    work.runnerOrder.append(raceId);
}

// Records of a store file read at once; a missing file reads as empty.
QList<QByteArray> readRecords(const char16_t* name, qsizetype length, SkipLog& log) {
    QList<QByteArray> out;
    log.step("read " + QString::fromUtf16(name).toStdString(),
             [&] { out = RecordFile::readAll(AppFile(name), length); });
    return out;
}

void writeListFile(const char16_t* name, const QByteArray& bytes, SkipLog& log) {
    log.step("write " + QString::fromUtf16(name).toStdString(), [&] { ReplaceFile(AppFile(name), bytes); });
}

}  // namespace

void DecideResultsMode(RunState& s) {
    const QString path = AppFile(jv::kRaNewFile);
    const qsizetype length = jv::kRA.imageLength;
    s.ResultsMode = 0;
    // Read only: the week's race file may be write-protected.
    qint64 size = 0;
    const FileDescriptor file = OpenRegularFile(path, FileAccess::Read, &size, "read");
    const qint64 n = file.isOpen() ? size / length : 0;
    if (n == 0) return;
    QList<QByteArray> last{QByteArray(length, '\0')};
    if (::lseek(file.get(), off_t((n - 1) * length), SEEK_SET) < 0) failFile("read", path, qt_error_string(errno));
    ReadRecordsInto(file, path, last);
    s.CurrentRA = last.first();
    if (jv::isResultsMode(s.CurrentRA)) s.ResultsMode = 1;
}

void EmptyWeekListFiles(SkipLog& log) {
    for (const char16_t* name : {kRaceListFile, kRaceDetailFile, kRaceKeyListFile})
        log.step("empty " + QString::fromUtf16(name).toStdString(), [&] { emptyTextFile(AppFile(name)); });
}

QByteArray RaceDetailLine(RunState& s, QByteArrayView ra) {
    const CodeTable& ct = s.CodeTable;
    s.CourseName = CodeName(ct, "2001", member(ra, jv::head::Racecourse), 4);
    QByteArray raceName = cp932::firstChars(member(ra, jv::ra::RaceName), 12);
    if (isTwelveFullWidthSpaces(raceName)) raceName.clear();
    const QByteArray condition = CodeName(ct, "2007", member(ra, kConditionYoungest), 2);
    const QByteArray raceType = CodeName(ct, "2005", member(ra, jv::ra::RaceTypeCode), 4);
    const QByteArray grade = cp932::firstChars(CodeName(ct, "2003", member(ra, jv::ra::GradeCode), 2), 4);
    const QByteArray track = cp932::firstChars(CodeName(ct, "2009", member(ra, jv::ra::TrackCode), 3), 1);
    const QByteArrayView trackCode = member(ra, jv::ra::TrackCode);
    const Field going = textBetween(trackCode, "23", "29") ? jv::ra::DirtGoingCode : jv::ra::TurfGoingCode;
    const QByteArray weatherGoing =
        CodeName(ct, "2011", member(ra, jv::ra::WeatherCode), 2) + CodeName(ct, "2010", member(ra, going), 2);
    const QByteArrayView raceNo = member(ra, jv::head::RaceNumber);
    const auto raceNoValue = parseStrict(raceNo);
    const QByteArray raceNoText = raceNoValue ? numberText(std::int64_t(*raceNoValue)) : QByteArray();
    return csvLine({CsvValue::text(raceIdOf(ra)), CsvValue::text(raceNoText),
                    CsvValue::text(member(ra, jv::ra::StartTime)), CsvValue::text(raceNo), CsvValue::text(raceName),
                    CsvValue::text(raceType), CsvValue::text(condition), CsvValue::text(grade),
                    CsvValue::text(track), CsvValue::text(member(ra, jv::ra::Distance)), CsvValue::text("SD"),
                    CsvValue::text(weatherGoing)});
}

void BuildRaceList(RunState& s, RunWork& work, SkipLog& log) {
    s.RaceIdList = {QByteArray()};
    s.RaceCount = 0;
    s.List1.clear();
    work.payoffRecordNo = {0};
    work.detailLines = {std::nullopt};
    QByteArray raceList, detail, keys;
    const QByteArray crlf("\r\n");
    auto addDetail = [&](QByteArrayView ra) {
        const QByteArray line = RaceDetailLine(s, ra);
        keys += member(ra, jv::head::RaceKey16).toByteArray() + crlf;
        detail += line + crlf;
        work.detailLines.append(line);
    };
    const QList<QByteArray> races = readRecords(jv::kRaNewFile, jv::kRA.imageLength, log);

    if (s.ResultsMode == 0) {
        for (qsizetype i = 0; i < races.size(); ++i) {
            const QByteArray& ra = races[i];
            s.RaceIndex = int(i + 1);
            s.CurrentRA = ra;
            const QByteArrayView kind = member(ra, jv::head::DataKind);
            if (kind < QByteArrayView("2") || kind > QByteArrayView("6")) continue;
            const QByteArray id = raceIdOf(ra);
            if (!isRaceId(id)) {
                log.record("list race record " + std::to_string(i + 1),
                           "race id \"" + printable(id) + "\" is not 12 digits; the race is not listed");
                continue;
            }
            ++s.RaceCount;
            s.RaceIdList.append(id);
            work.payoffRecordNo.append(s.RaceCount);
            addDetail(ra);
            raceList += csvLine({CsvValue::text(id)}) + crlf;
            addRunnerFile(work, id);
            s.List1.append(listItem(ra, s.CourseName, 9, id));
        }
    } else {
        work.payoffs = readRecords(jv::kHrWeekFile, jv::kHR.imageLength, log);
        for (qsizetype i = 0; i < work.payoffs.size(); ++i) {
            const QByteArray& hr = work.payoffs[i];
            s.RaceIndex = int(i + 1);
            s.CurrentHR = hr;
            const QByteArray id = raceIdOf(hr);
            if (!isRaceId(id)) {
                log.record("list payoff record " + std::to_string(i + 1),
                           "race id \"" + printable(id) + "\" is not 12 digits; the race is not listed");
                continue;
            }
            s.CourseName = CodeName(s.CodeTable, "2001", member(hr, jv::head::Racecourse), 4);
            ++s.RaceCount;
            s.RaceIdList.append(id);
            work.payoffRecordNo.append(i + 1);
            raceList += csvLine({CsvValue::text(id)}) + crlf;
            addRunnerFile(work, id);
            s.List1.append(listItem(hr, s.CourseName, 10, id));
        }
        // One detail row and key line per listed race, from its last race
        // record, so that row i of RaceTable stays race i of the list.
        QHash<QByteArray, qsizetype> lastRace;
        for (qsizetype i = 0; i < races.size(); ++i) lastRace.insert(raceIdOf(races[i]), i);
        for (int k = 1; k <= s.RaceCount; ++k) {
            const auto it = lastRace.constFind(s.RaceIdList[k]);
            if (it == lastRace.cend()) {
                work.detailLines.append(std::nullopt);
                continue;
            }
            s.CurrentRA = races[*it];
            addDetail(races[*it]);
        }
    }
    writeListFile(kRaceKeyListFile, keys, log);
    writeListFile(kRaceListFile, raceList, log);
    writeListFile(kRaceDetailFile, detail, log);
}

void LoadRaceTable(RunState& s, const RunWork& work) {
    s.RaceTable = QList<RaceRow>(s.RaceCount + 1);
    for (int i = 1; i <= s.RaceCount && i < work.detailLines.size(); ++i) {
        if (!work.detailLines[i]) continue;
        const QList<QByteArray> values = splitValues(*work.detailLines[i]);
        RaceRow& row = s.RaceTable[i];
        for (int c = 0; c < 12 && c < values.size(); ++c) row[size_t(c)] = values[c];
    }
}

}  // namespace rw::prediction
