// raceweek-sample --app-dir DIR --scale small|typical|large
//                 --scenario friday|monday [--seed N]
// Writes a synthetic JV-Data week and model package into DIR.
#include "sample/generator.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <exception>

namespace {

int usage(const char* problem) {
    std::fprintf(stderr,
                 "raceweek-sample: %s\n"
                 "usage: raceweek-sample --app-dir DIR --scale small|typical|large --scenario friday|monday [--seed N]\n",
                 problem);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QString appDir;
    std::optional<rw::sample::Scale> scale;
    std::optional<rw::sample::Scenario> scenario;
    rw::sample::Options opt;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (i + 1 >= argc) return usage("every option needs a value");
        const QString value = QString::fromLocal8Bit(argv[++i]);
        if (arg == QLatin1String("--app-dir")) {
            appDir = value;
        } else if (arg == QLatin1String("--scale")) {
            if (!(scale = rw::sample::parseScale(value))) return usage("--scale must be small, typical or large");
        } else if (arg == QLatin1String("--scenario")) {
            if (!(scenario = rw::sample::parseScenario(value))) return usage("--scenario must be friday or monday");
        } else if (arg == QLatin1String("--seed")) {
            bool ok = false;
            opt.seed = value.toULongLong(&ok);
            if (!ok) return usage("--seed must be a whole number");
        } else {
            return usage("unknown option");
        }
    }
    if (appDir.isEmpty()) return usage("--app-dir is required");
    if (!scale) return usage("--scale is required");
    if (!scenario) return usage("--scenario is required");
    opt.scale = *scale;
    opt.scenario = *scenario;
    try {
        QElapsedTimer timer;
        timer.start();
        const rw::sample::Summary s = rw::sample::generate(opt, appDir);
        std::printf("%lld files, %lld horses, %lld races this week, %d past races, %lld ms\n", qlonglong(s.files.size()),
                    qlonglong(s.horses.size()), qlonglong(s.weekRaces.size()), s.pastRaces, qlonglong(timer.elapsed()));
        QStringList categories;
        for (const auto& [surface, n] : s.modelCategories) categories << surface + QLatin1Char(' ') + QString::number(n);
        std::printf("model categories: %s\n", qPrintable(categories.join(QStringLiteral(", "))));
        for (const QString& left : s.modelLeftOut) std::printf("left out of the model: %s\n", left.toUtf8().constData());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "raceweek-sample: %s\n", e.what());
        return 1;
    }
}
