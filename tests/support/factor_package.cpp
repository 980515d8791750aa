#include "support/factor_package.h"

#include "support/test_support.h"

namespace rwtest {

namespace {

QByteArray joined(const FixturePackage& p, QByteArray (*field)(const FixtureCategory&)) {
    QByteArray out;
    int onLine = 0;
    for (int k = 1; k <= 30; ++k)
        for (const FixtureCategory& c : p.items[size_t(k)]) {
            out += field(c);
            out += ++onLine == 10 ? "\r\n" : ",";
            if (onLine == 10) onLine = 0;
        }
    if (out.endsWith(',')) out.chop(1);
    if (!out.isEmpty() && !out.endsWith('\n')) out += "\r\n";
    return out;
}

}  // namespace

FixtureCategory& FixturePackage::add(int item, QByteArray code, QByteArray agari, QByteArray pace, QByteArray soha,
                                     QByteArray samples) {
    items[size_t(item)].push_back(
        {std::move(code), std::move(agari), std::move(pace), std::move(soha), std::move(samples)});
    return items[size_t(item)].back();
}

QByteArray FixturePackage::counts() const {
    QByteArray out;
    for (int k = 1; k <= 30; ++k)
        out += QByteArray::number(qsizetype(items[size_t(k)].size())) + (k < 30 ? "," : "\r\n");
    return out;
}
QByteArray FixturePackage::codes() const {
    return joined(*this, [](const FixtureCategory& c) { return "\"" + c.code + "\""; });
}
QByteArray FixturePackage::agari() const {
    return joined(*this, [](const FixtureCategory& c) { return c.agari; });
}
QByteArray FixturePackage::pace() const {
    return joined(*this, [](const FixtureCategory& c) { return c.pace; });
}
QByteArray FixturePackage::soha() const {
    return joined(*this, [](const FixtureCategory& c) { return c.soha; });
}
QByteArray FixturePackage::samples() const {
    return joined(*this, [](const FixtureCategory& c) { return c.samples; });
}

void writeModelFiles(rw::model::Surface s, const ModelTexts& t,
                     const std::function<void(const QString&, const QByteArray&)>& write) {
    const rw::model::ModelFileNames f = rw::model::ModelFiles(s);
    write(f.totalData, t.counts);
    write(f.codes, t.codes);
    write(f.soha, t.soha);
    if (s != rw::model::Surface::Jump) {
        write(f.agari, t.agari);
        write(f.pace, t.pace);
    }
    write(f.sampleCounts, t.samples);
}

void writeModelFiles(const AppFolder& app, rw::model::Surface s, const ModelTexts& t) {
    writeModelFiles(s, t, [&](const QString& name, const QByteArray& bytes) { app.write(name, bytes); });
}

void FixturePackage::write(const AppFolder& app, rw::model::Surface s) const {
    writeModelFiles(app, s, {counts(), codes(), agari(), pace(), soha(), samples()});
}

void writeFullPackage(const AppFolder& app, int categories) {
    FixturePackage p;
    for (int k = 1; k <= 30; ++k)
        for (int j = 1; j <= categories; ++j) {
            const QByteArray code = QByteArray::number(j + 100000).right(4);
            const double w = 0.001 * ((j * 37 + k * 11) % 5000) - 2.5;
            p.add(k, code, QByteArray::number(w, 'f', 4), QByteArray::number(w * 0.8, 'f', 4),
                  QByteArray::number(w * 1.2, 'f', 4), QByteArray::number(j * 13));
        }
    for (rw::model::Surface s : rw::model::kSurfaces) p.write(app, s);
}

}  // namespace rwtest
