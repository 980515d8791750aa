#pragma once
// What the benchmarks share: a sample week in a scratch application folder,
// taken through the system's own steps, and a timer of elapsed and processor
// time.
#include "support/recording_ui.h"
#include "common/skip.h"
#include "jvdata/jvlink.h"
#include "sample/generator.h"
#include "support/test_support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace rwbench {

class SampleWeek {
public:
    SampleWeek(rw::sample::Scale scale, rw::sample::Scenario scenario) {
        rw::sample::Options o;
        o.scale = scale;
        o.scenario = scenario;
        rw::sample::generate(o, app.path());
        jv = rw::jv::createJvLink();
    }
    QString path(const QString& rel) const { return app.path() + rel; }
    // Runs a step of the system on the week; a message or a skipped
    // statement means the bench would measure something else: it stops.
    template <class Step>
    void run(const char* what, Step&& step) {
        rw::SkipLog log(what);
        step(ui, *jv, log);
        if (!ui.messages.isEmpty() || !log.empty()) {
            for (const std::string& s : log.skipped()) std::fprintf(stderr, "skipped %s\n", s.c_str());
            for (const QString& m : ui.messages) std::fprintf(stderr, "message: %s\n", qPrintable(m));
            std::abort();
        }
    }

    rwtest::AppFolder app;
    rw::RecordingUi ui;
    std::unique_ptr<rw::jv::JvLink> jv;
};

// Elapsed, user and system seconds since it was started.
class Stopwatch {
public:
    Stopwatch() : t0_(std::chrono::steady_clock::now()), c0_(now()) {}
    double elapsed() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0_).count(); }
    double user() const { return now().user - c0_.user; }
    double cpu() const {
        const Cpu c = now();
        return (c.user + c.sys) - (c0_.user + c0_.sys);
    }

private:
    struct Cpu {
        double user = 0, sys = 0;
    };
    static Cpu now() {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return {double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) / 1e6,
                double(u.ru_stime.tv_sec) + double(u.ru_stime.tv_usec) / 1e6};
    }
    std::chrono::steady_clock::time_point t0_;
    Cpu c0_;
};

// Each timed run starts with nothing left to write back from the one before.
inline void settle() { ::sync(); }

}  // namespace rwbench
