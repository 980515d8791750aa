#pragma once
// Helpers shared by the tests: scratch application folders and file access.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <string>

namespace rwtest {

// A fresh, empty application folder for one test; GetAppPath and AppPath
// point at it while it lives.
class AppFolder {
public:
    AppFolder();
    ~AppFolder();
    QString path() const { return dir_.path() + "/"; }
    QString file(const QString& systemName) const;
    QByteArray read(const QString& systemName) const;
    void write(const QString& systemName, const QByteArray& bytes) const;
    bool exists(const QString& systemName) const;

private:
    QTemporaryDir dir_;
};

QByteArray readFile(const QString& path);
// Every file below a folder (hidden ones too), by path relative to it.
std::map<QString, QByteArray> filesUnder(const QString& dir);
void writeFile(const QString& path, const QByteArray& bytes);
// "あいう" in code page 932 from a UTF-8 literal.
QByteArray sj(const char* utf8);

}  // namespace rwtest
