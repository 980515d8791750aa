#include "jvdata/package_check.h"

#include "common/control_names.h"
#include "common/kestrav_path.h"
#include "jvdata/store_files.h"

#include <QFileInfo>

namespace rw {

QString PackageHorseFile() { return AppFile(jv::kHorseStatsFile); }
QString PackageSireFile() { return AppFile(jv::kSireStatsFile); }

QString DateTimeText(const QDateTime& dt) { return dt.toString(QStringLiteral("yyyy/MM/dd H:mm:ss")); }

QString FileDateTimeText(const QString& path) {
    QFileInfo fi(path);
    if (!fi.exists()) return {};
    return DateTimeText(fi.lastModified());
}

void ShowPackageReady(UiPort& ui, const QString& dateTimeText, bool withSupportHint) {
    QString caption = QString::fromUtf8("予想因子ウエイトは展開されています。作成日は ") + dateTimeText +
                      QString::fromUtf8(" です。これより新しい日付の予想因子ウエイトがあれば展開して上書きして下さい。"
                                        "無ければそのまま続行して下さい。");
    if (withSupportHint)
        caption += QString::fromUtf8("新しい日付のバージョンまたは最新因子ウエイトはサポートサイトよりダウンロードして下さい。");
    ui.setBackColor(ctl::MenuLabel1, kLabelGreen);
    ui.setText(ctl::MenuLabel1, caption);
}

bool CheckPackageBeforeExpansion(UiPort& ui) {
    const QString path = PackageHorseFile();
    if (QFileInfo::exists(path)) {
        ShowPackageReady(ui, FileDateTimeText(path), true);
        return true;
    }
    ui.messageBox(AppPath + QString::fromUtf8("に参照場所(展開フォルダ）に初回予想因子ウエイトが有りませんので、ソフトを終了します。"));
    return false;
}

}  // namespace rw
