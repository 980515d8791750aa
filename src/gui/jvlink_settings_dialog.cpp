#include "gui/jvlink_settings_dialog.h"

#include "jvdata/jvlink_file.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rw::gui {

namespace {
bool AutoAccept = false;
}

JvLinkSettingsDialog::JvLinkSettingsDialog(const QString& folder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("JVLinkSettings"));
    setWindowTitle(QString::fromUtf8("JV-Link 設定"));

    auto* label = new QLabel(QString::fromUtf8("JV-Data のフォルダ"), this);
    folderEdit_ = new QLineEdit(QDir::toNativeSeparators(folder), this);
    folderEdit_->setObjectName(QStringLiteral("FolderEdit"));
    folderEdit_->setMinimumWidth(360);
    auto* browseButton = new QPushButton(QString::fromUtf8("参照..."), this);
    browseButton->setObjectName(QStringLiteral("BrowseButton"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* row = new QHBoxLayout;
    row->addWidget(folderEdit_);
    row->addWidget(browseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(browseButton, &QPushButton::clicked, this, &JvLinkSettingsDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString JvLinkSettingsDialog::folder() const { return QDir::fromNativeSeparators(folderEdit_->text().trimmed()); }

void JvLinkSettingsDialog::browse() {
    const QString chosen = QFileDialog::getExistingDirectory(this, windowTitle(), folder());
    if (!chosen.isEmpty()) folderEdit_->setText(QDir::toNativeSeparators(chosen));
}

void installJvLinkSettingsDialog() {
    jv::setJvLinkSettingsHook([](QString& folder) {
        if (AutoAccept) return true;
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
        JvLinkSettingsDialog dialog(folder, QApplication::activeWindow());
        if (dialog.exec() == QDialog::Accepted) folder = dialog.folder();
        return true;
    });
}

void setJvLinkSettingsAutoAccept(bool on) { AutoAccept = on; }
bool jvLinkSettingsAutoAccept() { return AutoAccept; }

}  // namespace rw::gui
