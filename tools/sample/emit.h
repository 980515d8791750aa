#pragma once
// Turns the simulated world into JV-Data records and package files.
#include "sample/world.h"

#include <QByteArray>
#include <QString>
#include <map>

namespace rw::sample::detail {

// The files of one generation, relative to the application folder, with
// their record counts by "<FOLDER>/<KIND>" or package file name.
struct Output {
    std::map<QString, QByteArray> files;
    std::map<QString, qint64> counts;
    void add(const QString& file, const QByteArray& record, const QString& countKey) {
        files[file] += record;
        counts[countKey] += 1;
    }
};

// The jockey record as published (4173 bytes); the package keeps its image.
QByteArray ksRecord(const World& w, const Person& j, const QDate& make, std::uint64_t salt);

void emitJvData(const World& w, Scenario scenario, Output& out, Summary& summary);
void emitPackage(const World& w, Output& out, Summary& summary);
// The factor model of turf, dirt and jump races; after emitPackage, whose
// statistics it reads.
void emitModel(const World& w, Output& out, Summary& summary);
// "JRACODE/CodeTable.csv" as an installation brings it.
void emitCodeTable(Output& out);

}  // namespace rw::sample::detail
