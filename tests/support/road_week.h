#pragma once
// The sample week taken along the real weekly road by the window-less
// driver: ① ② (download, structure processing), the expanded-records window
// with ④ and ⑤ (previous-day fix, compute pass), then ⑥ (the prediction run
// with every writer). Pressing the road takes long, so it is pressed once
// per build: the first test that asks presses it into a folder under the
// build tree (others wait on a lock), and every test works on a copy of
// its own.
#include "sample/generator.h"
#include "support/driver.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace rwtest {

// The presses of the road, in one run of the driver.
QStringList RoadPresses();

struct RoadWeek {
    QTemporaryDir dir;            // this test's own copy of the folder
    rw::sample::Summary summary;  // what the generator reported
    PressResult road;             // the driver's output on the road
    QString path() const { return dir.path(); }
    QString file(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }
    // The RaceIDs ⑥ listed, in list order.
    QList<QByteArray> listed() const;
    // The sample's race with this RaceID; throws std::out_of_range when the
    // week has none.
    const rw::sample::WeekRace& race(const QByteArray& raceId) const;
    // Another run of the driver on this copy.
    PressResult press(const QStringList& presses, qint64 fileSizeLimit = -1) const;
};

// A fresh copy of the week (seed 1) after the road.
std::unique_ptr<RoadWeek> PressedRoadWeek(rw::sample::Scale scale, rw::sample::Scenario scenario);

}  // namespace rwtest
