#include "platform/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace keystead {

THelpWindow::THelpWindow(QWidget& owner)
    : QWidget(&owner, Qt::Window),
      txtTopic(new QTextBrowser(this)),
      cmdBack(new QToolButton(this)),
      cmdForward(new QToolButton(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Keystead Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(520, 460);

    cmdBack->setText(QStringLiteral("Back"));
    cmdForward->setText(QStringLiteral("Forward"));
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    connect(cmdBack, &QToolButton::clicked, txtTopic, &QTextBrowser::backward);
    connect(cmdForward, &QToolButton::clicked, txtTopic, &QTextBrowser::forward);
    connect(txtTopic, &QTextBrowser::backwardAvailable, cmdBack, &QToolButton::setEnabled);
    connect(txtTopic, &QTextBrowser::forwardAvailable, cmdForward, &QToolButton::setEnabled);

    txtTopic->setOpenExternalLinks(true);
    txtTopic->setFrameShape(QFrame::NoFrame);
    txtTopic->document()->setDocumentMargin(14);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    buttons->setContentsMargins(6, 0, 6, 0);
    layout->addLayout(buttons);
    layout->addWidget(txtTopic);
}

QUrl THelpWindow::topicUrl(int topic)
{
    return QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic));
}

void THelpWindow::showTopic(int topic)
{
    const QUrl url = topicUrl(topic);
    if (QFile::exists(QLatin1Char(':') + url.path())) {
        txtTopic->setSource(url);
    } else {
        txtTopic->setHtml(QStringLiteral("<h2>Help topic %1</h2><p>This help topic is not available.</p>").arg(topic));
    }
}

void ShowHelpTopic(QWidget& window, int topic)
{
    auto* help = window.findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!help)
        help = new THelpWindow(window);
    help->showTopic(topic);
    help->show();
    help->raise();
    help->activateWindow();
}

bool showHelpOnF1(QWidget& window, const QKeyEvent& key, int topic)
{
    if (key.type() != QEvent::KeyRelease || key.key() != Qt::Key_F1)
        return false;
    if (!key.isAutoRepeat())
        ShowHelpTopic(window, topic);
    return true;
}

}  // namespace keystead
