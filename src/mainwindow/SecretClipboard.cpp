#include "mainwindow/SecretClipboard.h"

#include "crypto/SecretMemory.h"
#include "platform/TextConversion.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace keystead {

namespace {

// Clipboard managers (Klipper, and others after it) keep no history of data offered with it.
const QString kPasswordManagerHint = QStringLiteral("x-kde-passwordManagerHint");
const QString kOwnerFormat = QStringLiteral("application/x-keystead-owner");

QByteArray ownerMark()
{
    return QByteArray::number(QCoreApplication::applicationPid());
}

}  // namespace

void PutOnClipboard(const QString& text, ClipboardText kind)
{
    auto* data = new QMimeData;   // the clipboard owns it
    data->setText(text);
    data->setData(kOwnerFormat, ownerMark());
    if (kind == ClipboardText::Secret)
        data->setData(kPasswordManagerHint, QByteArrayLiteral("secret"));
    QGuiApplication::clipboard()->setMimeData(data);
}

void PutSecretOnClipboard(std::string plain)
{
    const SecretText secret(std::move(plain));
    PutOnClipboard(toQString(secret.get()), ClipboardText::Secret);
}

bool ClearOwnClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsSelection())
        clipboard->clear(QClipboard::Selection);
    const QMimeData* data = clipboard->mimeData();
    if (!clipboard->ownsClipboard() && (data == nullptr || data->data(kOwnerFormat) != ownerMark()))
        return false;
    clipboard->clear();
    return true;
}

void EmptyClipboard()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Clearing gives up only what this program holds; another program's text is first replaced
    // by an empty one of ours.
    clipboard->setMimeData(new QMimeData);
    clipboard->clear();
}

PrimarySelectionGuard::PrimarySelectionGuard(QObject* parent) : QObject(parent)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    connect(clipboard, &QClipboard::changed, this, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Selection && clipboard->ownsSelection())
            clipboard->clear(QClipboard::Selection);
    });
}

}  // namespace keystead
