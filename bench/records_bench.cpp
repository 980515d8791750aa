// Parsing and imaging each record kind. Reports records per second.
#include "jvdata/records.h"

#include <benchmark/benchmark.h>

using namespace rw::jv;

namespace {

QByteArray record(Kind k) {
    const Layout& L = layout(k);
    QByteArray r(L.length, '0');
    for (int i = 0; i < L.length; ++i) r[i] = char('0' + i % 10);
    r.replace(0, 2, QByteArray(L.code.data(), 2));
    r[L.length - 2] = '\r';
    r[L.length - 1] = '\n';
    return r;
}

template <Kind K, void (*Parse)(QByteArrayView, Parsed<K>&), QByteArray (*Image)(const Parsed<K>&)>
void parseAndImage(benchmark::State& state) {
    const QByteArray rec = record(K);
    Parsed<K> p;
    for (auto _ : state) {
        Parse(rec, p);
        QByteArray img = Image(p);
        benchmark::DoNotOptimize(img.data());
    }
    state.SetItemsProcessed(state.iterations());
}

template <Kind K, void (*Parse)(QByteArrayView, Parsed<K>&)>
void parseAndReadAllItems(benchmark::State& state) {
    // Odds are not imaged: their readers cut every entry of the record.
    const QByteArray rec = record(K);
    const auto& items = flatItems(K);
    Parsed<K> p;
    for (auto _ : state) {
        Parse(rec, p);
        qsizetype total = 0;
        for (const Field& f : items) total += p.item(f).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(parseAndImage<Kind::RA, ParseRA, ToFixedRA>)->Name("RA parse+image");
BENCHMARK(parseAndImage<Kind::SE, ParseSE, ToFixedSE>)->Name("SE parse+image");
BENCHMARK(parseAndImage<Kind::HR, ParseHR, ToFixedHR>)->Name("HR parse+image");
BENCHMARK(parseAndImage<Kind::UM, ParseUM, ToFixedUM>)->Name("UM parse+image");
BENCHMARK(parseAndImage<Kind::KS, ParseKS, ToFixedKS>)->Name("KS parse+image");
BENCHMARK(parseAndReadAllItems<Kind::O1, ParseO1>)->Name("O1 parse+all items");
BENCHMARK(parseAndReadAllItems<Kind::O2, ParseO2>)->Name("O2 parse+all items");
BENCHMARK(parseAndReadAllItems<Kind::O4, ParseO4>)->Name("O4 parse+all items");
BENCHMARK(parseAndReadAllItems<Kind::O5, ParseO5>)->Name("O5 parse+all items");
BENCHMARK(parseAndReadAllItems<Kind::O6, ParseO6>)->Name("O6 parse+all items");
