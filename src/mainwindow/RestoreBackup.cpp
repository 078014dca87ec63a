#include "mainwindow/RestoreBackup.h"

#include "platform/MessageBox.h"
#include "platform/TextConversion.h"
#include "session/DamagedStoreOffer.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace keystead {
namespace {

constexpr int kMinimumWidth = 520;
constexpr int kMinimumHeight = 280;

QString usersText(const std::vector<std::string>& users)
{
    QStringList names;
    for (const auto& user : users)
        names << toQString(user);
    return names.join(QStringLiteral(", "));
}

}  // namespace

TfrmRestoreBackup::TfrmRestoreBackup(std::vector<BackupInfo> backups, QWidget* parent)
    : QDialog(parent),
      lblBackups(new QLabel(this)),
      lvBackups(new QTreeWidget(this)),
      cmdRestore(new QPushButton(QStringLiteral("&Restore"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this)),
      backups_(std::move(backups))
{
    setObjectName(QStringLiteral("frmRestoreBackup"));
    setWindowTitle(QStringLiteral("Restore from Backup"));
    buildControls();
    fillList();
    connect(cmdRestore, &QPushButton::clicked, this, &TfrmRestoreBackup::cmdRestoreClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvBackups, &QTreeWidget::itemActivated, this, &TfrmRestoreBackup::cmdRestoreClick);
    connect(lvBackups, &QTreeWidget::itemSelectionChanged, this,
            [this] { cmdRestore->setEnabled(selectedIndex() >= 0); });
}

void TfrmRestoreBackup::buildControls()
{
    lblBackups->setObjectName(QStringLiteral("lblBackups"));
    lblBackups->setText(QStringLiteral("&Backups of the store, newest first. Restoring one replaces the whole store, "
                                       "for every user; the store as it is now is backed up first."));
    lblBackups->setWordWrap(true);
    lblBackups->setBuddy(lvBackups);
    lvBackups->setObjectName(QStringLiteral("lvBackups"));
    lvBackups->setHeaderLabels({QStringLiteral("Date and time"), QStringLiteral("Size"), QStringLiteral("Users")});
    lvBackups->setRootIsDecorated(false);
    lvBackups->setAllColumnsShowFocus(true);
    lvBackups->setUniformRowHeights(true);
    lvBackups->header()->setStretchLastSection(true);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setDefault(true);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblBackups);
    layout->addWidget(lvBackups);
    layout->addLayout(buttons);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
}

void TfrmRestoreBackup::fillList()
{
    const QLocale locale;
    for (const BackupInfo& backup : backups_) {
        auto* item = new QTreeWidgetItem(lvBackups, {backupTimeText(backup.time),
                                                     locale.formattedDataSize(static_cast<qint64>(backup.size)),
                                                     usersText(backup.users)});
        item->setToolTip(0, toQString(backup.file.filename().string()));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < 2; ++column)
        lvBackups->resizeColumnToContents(column);
    if (!backups_.empty())
        lvBackups->setCurrentItem(lvBackups->topLevelItem(0));
    cmdRestore->setEnabled(!backups_.empty());
    lvBackups->setFocus();
}

int TfrmRestoreBackup::selectedIndex() const
{
    const QList<QTreeWidgetItem*> selected = lvBackups->selectedItems();
    return selected.isEmpty() ? -1 : lvBackups->indexOfTopLevelItem(selected.front());
}

void TfrmRestoreBackup::cmdRestoreClick()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    const BackupInfo& backup = backups_[static_cast<std::size_t>(index)];
    const QString question = QStringLiteral("Replace the whole store, for every user, with the backup of %1? "
                                            "The store as it is now is backed up first.")
                                 .arg(backupTimeText(backup.time));
    if (!askYesNo(this, question))
        return;
    chosen_ = backup.file;
    accept();
}

}  // namespace keystead
