#include "sample/generator.h"

#include "sample/emit.h"
#include "sample/world.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace rw::sample {

std::optional<Scale> parseScale(const QString& text) {
    if (text == QLatin1String("small")) return Scale::Small;
    if (text == QLatin1String("typical")) return Scale::Typical;
    if (text == QLatin1String("large")) return Scale::Large;
    return std::nullopt;
}

std::optional<Scenario> parseScenario(const QString& text) {
    if (text == QLatin1String("friday")) return Scenario::Friday;
    if (text == QLatin1String("monday")) return Scenario::Monday;
    return std::nullopt;
}

Summary generate(const Options& options, const QString& appDir) {
    const detail::World world = detail::buildWorld(options);
    detail::Output out;
    Summary summary;
    detail::emitJvData(world, options.scenario, out, summary);
    detail::emitPackage(world, out, summary);
    detail::emitModel(world, out, summary);
    detail::emitCodeTable(out);

    QDir root(appDir);
    if (!root.mkpath(QStringLiteral(".")))
        throw std::runtime_error("cannot create the application folder " + appDir.toStdString());
    // JVDATA is wholly ours: a smaller generation must not leave files of a
    // larger one behind for the JV-Link stand-in to deliver.
    // A linked data folder or package folder leads elsewhere: never clear or
    // overwrite through it.
    for (const char* folder : {"JVDATA", "OPTION1N"})
        if (QFileInfo(root.filePath(QLatin1String(folder))).isSymLink())
            throw std::runtime_error(std::string("refusing to write through the link ") + folder);
    QDir jv(root.filePath(QStringLiteral("JVDATA")));
    if (jv.exists() && !jv.removeRecursively())
        throw std::runtime_error("cannot clear " + jv.path().toStdString());
    for (const auto& [name, bytes] : out.files) {
        const QString path = root.filePath(name);
        if (!QDir().mkpath(QFileInfo(path).path()))
            throw std::runtime_error("cannot create the folder of " + path.toStdString());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write " + path.toStdString());
        summary.files.append(name);
    }
    summary.counts = out.counts;
    return summary;
}

}  // namespace rw::sample
