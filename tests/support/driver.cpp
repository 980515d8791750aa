#include "support/driver.h"

#include "support/file_size_limit.h"
#include "support/test_support.h"

#include <QDir>
#include <QProcess>

namespace rwtest {

QString PressResult::line(const QString& tag) const {
    for (const QString& l : out.split(QLatin1Char('\n')))
        if (l.startsWith(tag + QStringLiteral(": "))) return l.mid(tag.size() + 2);
    return {};
}

PressResult runPress(const QString& appDir, const QStringList& args, qint64 fileSizeLimit) {
    QProcess p;
    if (fileSizeLimit >= 0) p.setChildProcessModifier(childFileSizeLimit(fileSizeLimit));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(RACEWEEK_BIN_DIR "/raceweek-press"), QStringList{QStringLiteral("--app-dir"), appDir} + args);
    PressResult r;
    if (!p.waitForFinished(600000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QList<QByteArray> splitRecords(const QByteArray& data) {
    QList<QByteArray> out;
    qsizetype from = 0;
    while (from < data.size()) {
        qsizetype end = data.indexOf("\r\n", from);
        end = end < 0 ? data.size() : end + 2;
        out.append(data.mid(from, end - from));
        from = end;
    }
    return out;
}

QList<QByteArray> storedRecords(const QString& appDir, const QString& dataSpec) {
    QList<QByteArray> out;
    for (qsizetype i = 0; i + 4 <= dataSpec.size(); i += 4) {
        QDir d(appDir + QStringLiteral("/JVDATA/") + dataSpec.mid(i, 4));
        for (const QString& f : d.entryList({QStringLiteral("*.jvd")}, QDir::Files, QDir::Name))
            out += splitRecords(readFile(d.filePath(f)));
    }
    return out;
}

}  // namespace rwtest
