#pragma once
// Small random weeks for the expanded records: the files the builder and
// the compute button read, with the awkward cases mixed in (duplicate UM
// rows, a race delivered with data kinds "2" and "7", jockeys in both KS
// files and in neither, runs without a race record, horses without a UM row
// or a run file, a dam with more than 21 foals next to another dam, stale
// last records, a list value that is not ten digits, a listed horse twice).
// Every byte not set by a key is random, so a member taken from the wrong
// place shows.
#include <QByteArray>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <map>

namespace rwtest {

struct RandomWeekOptions {
    int horses = 8;
    bool statistics = true;  // HAHAUMA.dat and KYOSOBA.dat too
};

struct RandomWeek {
    QList<QByteArray> horseList;  // as written to KETTONUMTHISWEEKN.dat
    QList<QByteArray> damList;    // as written to HAHAHANNUMTHISWEEKN.dat
};

// Writes the week into the current application folder (AppPath).
RandomWeek writeRandomExpandedWeek(QRandomGenerator& rng, const RandomWeekOptions& options = {});

// A record of `length` random printable bytes ending with CR LF.
QByteArray randomRecord(QRandomGenerator& rng, int length);

// Every file of the application folder, and putting them back.
std::map<QString, QByteArray> snapshotApp();
void restoreApp(const std::map<QString, QByteArray>& files);

}  // namespace rwtest
