#pragma once
// Model packages for the tests: the six files of a surface's model written
// under their system names; for the model-weight viewers, per item a list of
// categories written as a package delivers them (codes quoted, numbers bare,
// ten values to a line), and a package of any size for benchmarks.
#include "model/package_files.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace rwtest {

class AppFolder;

// The texts of one surface's model files.
struct ModelTexts {
    QByteArray counts, codes, agari, pace, soha, samples;
};
// Writes them as a package lays them down, through `write` (system name,
// bytes): the jump model's 上がり and ペース names are its 走破 file, so for
// jump races only `soha` is written there.
void writeModelFiles(rw::model::Surface s, const ModelTexts& t,
                     const std::function<void(const QString&, const QByteArray&)>& write);
// … into `app`.
void writeModelFiles(const AppFolder& app, rw::model::Surface s, const ModelTexts& t);

struct FixtureCategory {
    QByteArray code;  // written in quotes, as read back
    QByteArray agari = "0";
    QByteArray pace = "0";
    QByteArray soha = "0";
    QByteArray samples = "0";
};

struct FixturePackage {
    std::array<std::vector<FixtureCategory>, 31> items;  // element 0 unused

    FixtureCategory& add(int item, QByteArray code, QByteArray agari = "0", QByteArray pace = "0",
                         QByteArray soha = "0", QByteArray samples = "1");

    // The six files' contents (the jump package has no agari or pace file:
    // write() leaves them out).
    QByteArray counts() const;
    QByteArray codes() const;
    QByteArray agari() const;
    QByteArray pace() const;
    QByteArray soha() const;
    QByteArray samples() const;
    void write(const AppFolder& app, rw::model::Surface s) const;
};

// A package of `categories` categories in each of the 30 items, with codes
// of leading zeros and weights that vary, written for every surface.
void writeFullPackage(const AppFolder& app, int categories);

}  // namespace rwtest
