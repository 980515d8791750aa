#pragma once
// YOSOKEKKATHISWEEKNZ: what the phases of the prediction run hand each other
// besides the window's state: the payoff records read once, the listed
// races' payoff record numbers, and the runner records, built in memory and
// written once per race file in their final state.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

namespace rw::prediction {

struct RunWork {
    // "HRTHISWEEKN.dat", read once (the run never writes it).
    QList<QByteArray> payoffs;
    // Per listed race (index 0 unused): the payoff record the race loop
    // reads for it. Normal mode: the race's position; results mode: the
    // payoff record the race was listed from.
    QList<qint64> payoffRecordNo{0};
    // Per listed race (index 0 unused): its detail row line, when it has one.
    QList<std::optional<QByteArray>> detailLines{std::nullopt};
    // The listed races' runner files: RaceID -> records (record n at n - 1),
    // and the RaceIDs in their first listing order.
    QHash<QByteArray, QList<QByteArray>> runners;
    QList<QByteArray> runnerOrder;
    // Runner files that could not be written: the race loop reads them
    // from disk as they are.
    QHash<QByteArray, bool> unwritten;
};

}  // namespace rw::prediction
