#include "app/startup.h"

#include "common/clock.h"
#include "common/control_names.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "jvdata/package_check.h"
#include "jvdata/store_files.h"
#include "model/expanded_record.h"

#include <QFile>
#include <limits>

namespace rw {

const QStringList& WorkingFolders() {
    using namespace jv;
    static const QStringList f = [] {
        QStringList names;
        for (const char16_t* name :
             {kKaimeFolder, kRaceFolder, kShutsubahyoFolder, kTekichuFolder, kTanfukuFolder, kTanfuku2Folder,
              model::kExFolder, kRunFileFolder, kTanshoFolder, kFukushoFolder, kUmarenFolder, kUmatanFolder,
              kSanrenpukuFolder, kSanrentanFolder, kWideFolder, kSokudoFolder, kWebPageFolder, kWebPredictionFolder,
              kWebPdfFolder})
            names << QString::fromUtf16(name);
        return names;
    }();
    return f;
}

const QStringList& FlashFiles() {
    using namespace jv;
    static const QStringList f = [] {
        QStringList names;
        for (const char16_t* name : {kSeFlashFile, kHrFlashFile, kRaFlashFile, kO1FlashFile, kO2FlashFile,
                                     kO4FlashFile, kO5FlashFile, kO6FlashFile})
            names << QString::fromUtf16(name);
        return names;
    }();
    return f;
}

std::int16_t PackageAgeDays(const QString& path) {
    const QString text = FileDateTimeText(path);
    if (text.isEmpty()) fail("no package file " + path.toStdString());
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy/MM/dd"));
    if (!date.isValid()) fail("unreadable package date");
    const qint64 days = date.daysTo(Today());
    if (days < std::numeric_limits<std::int16_t>::min() || days > std::numeric_limits<std::int16_t>::max())
        fail("package age out of range");
    return std::int16_t(days);
}

void MenuStartup(UiPort& ui, SkipLog& log) {
    AppPath = GetAppPath();
    for (const QString& folder : WorkingFolders())
        log.step("create folder", [&] {
            MakeFolders(AppFile(folder));  // one that exists is left unchanged
        });

    bool present = false;
    log.step("package check", [&] { present = QFile::exists(PackageHorseFile()); });
    if (present) {
        log.step("package label", [&] { ShowPackageReady(ui, FileDateTimeText(PackageHorseFile()), true); });
    } else {
        log.step("package message", [&] {
            ui.messageBox(AppPath + QString::fromUtf8("自己解凍EXEにある展開先の指定をクリックして予想因子パラメータをセットして下さい。"));
            ui.setText(ctl::MenuLabel1, QString::fromUtf8("まだ、予想因子ウエイトが展開されていません。自己解凍EXEにある展開先の指定をクリックして起動させて下さい。"));
        });
    }

    std::int16_t age = 0;
    log.step("package age", [&] { age = PackageAgeDays(PackageHorseFile()); });
    if (age > 1000)
        ui.messageBox(AppPath + QString::fromUtf8("予想因子ウエイトが最新ではありません。さらに高精度の予想を望まれる場合、最新予想ウエイトを取得して下さい。"));

    for (const QString& name : FlashFiles())
        log.step("delete flash file", [&] {
            const QString path = AppFile(name);
            if (QString why; !RemoveFile(path, &why)) failFile("delete", path, why);
        });

    ui.setText(ctl::MenuText2, QString::fromUtf8("今週の結果は必ず前に今週の予想の3つの操作を行って下さい。"));
}

}  // namespace rw
