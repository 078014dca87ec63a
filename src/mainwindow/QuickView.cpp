#include "mainwindow/QuickView.h"

#include "entries/EntryEditTarget.h"
#include "platform/ErrorDisplay.h"
#include "platform/TextConversion.h"
#include "platform/WindowPlacement.h"
#include "store/MainSettings.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace keystead {
namespace {

constexpr int kClientWidth = 288;
constexpr int kClientHeight = 242;
constexpr int kMargin = 8;
constexpr int kRuleWidth = kClientWidth - 2 * kMargin;

QLabel* makeText(QWidget& parent, int top, int height)
{
    auto* label = new QLabel(&parent);
    label->setTextFormat(Qt::PlainText);   // a password such as "<b>x" is shown as typed
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(kMargin, top, kRuleWidth, height);
    return label;
}

// A bold heading with its grey rule, 2 pixels high, under it; gives the top of what follows.
int addHeading(QWidget& parent, const QString& text, int top)
{
    auto* heading = new QLabel(text, &parent);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setGeometry(kMargin, top, kRuleWidth, 16);
    auto* rule = new QWidget(&parent);
    rule->setAutoFillBackground(true);
    QPalette grey = rule->palette();
    grey.setColor(QPalette::Window, Qt::gray);
    rule->setPalette(grey);
    rule->setGeometry(kMargin, top + 16, kRuleWidth, 2);
    return top + 21;
}

}  // namespace

TfrmQuickView::TfrmQuickView(SessionState& session, RegistryStore& store, EntryEditTarget& list, QWidget& mainWindow)
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      session_(session), store_(store), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("frmQuickView"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Password QuickView"));
    setFixedSize(kClientWidth, kClientHeight);
    session_.QuickViewOpen = true;
    buildControls();
    placeOver(mainWindow);
    showEntry(list);
}

TfrmQuickView::~TfrmQuickView()
{
    session_.QuickViewOpen = false;
}

void TfrmQuickView::buildControls()
{
    QPalette tip = palette();
    tip.setColor(QPalette::Window, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::Base, tip.color(QPalette::ToolTipBase));
    tip.setColor(QPalette::WindowText, tip.color(QPalette::ToolTipText));
    tip.setColor(QPalette::Text, tip.color(QPalette::ToolTipText));
    setPalette(tip);
    setAutoFillBackground(true);

    int top = addHeading(*this, QStringLiteral("Description"), 4);
    lblDescription = makeText(*this, top, 30);
    top = addHeading(*this, QStringLiteral("Username"), top + 32);
    lblUsername = makeText(*this, top, 16);
    top = addHeading(*this, QStringLiteral("Password"), top + 18);
    lblPassword = makeText(*this, top, 16);
    top = addHeading(*this, QStringLiteral("Comments"), top + 18);
    memComments = new QPlainTextEdit(this);
    memComments->setReadOnly(true);
    memComments->setAccessibleName(QStringLiteral("Comments"));
    memComments->setFrameShape(QFrame::NoFrame);
    memComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memComments->setGeometry(kMargin, top, kRuleWidth, kClientHeight - top - 4);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblUsername->setObjectName(QStringLiteral("lblUsername"));
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    memComments->setObjectName(QStringLiteral("memComments"));
}

void TfrmQuickView::placeOver(const QWidget& mainWindow)
{
    // Centred over the main window until the user has placed it.
    const int left = mainWindow.x() + (mainWindow.width() - width()) / 2;
    const int top = mainWindow.y() + (mainWindow.height() - height()) / 2;
    runGuarded(&mainWindow_, [&] {
        StoreSession session(store_);
        move(store_.ReadInteger(session_.CurrentUsername, "QuickviewWindowLeft", left),
             store_.ReadInteger(session_.CurrentUsername, "QuickviewWindowTop", top));
        session.close();
    });
    ClampFormToScreen(*this);
}

void TfrmQuickView::showEntry(EntryEditTarget& list)
{
    const std::optional<ListItemTexts> item = list.selectedItem();
    if (!item)
        return;
    const std::string notes = list.notesText();
    if (session_.ShowPasswordsOn) {
        lblDescription->setText(toQString(item->caption));
        lblUsername->setText(toQString(item->username));
        lblPassword->setText(toQString(item->password));
        memComments->setPlainText(toMultiLineQString(notes));
        return;
    }
    // The list shows cipher text here: what it does not already show in plain is decrypted.
    Diamond1.SetKey(session_.LogonPassword);
    const MainSettings& settings = list.settings();
    lblDescription->setText(
        toQString(settings.showSystem ? item->caption : Diamond1.DecryptCipherString(item->caption)));
    lblUsername->setText(toQString(Diamond1.DecryptCipherString(item->username)));
    lblPassword->setText(toQString(Diamond1.DecryptCipherString(item->password)));
    memComments->setPlainText(
        toMultiLineQString(settings.showComments ? notes : Diamond1.DecryptCipherString(notes)));
}

bool TfrmQuickView::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        mainWindow_.setEnabled(true);
    return QWidget::event(event);
}

void TfrmQuickView::closeEvent(QCloseEvent* event)
{
    session_.QuickViewOpen = false;
    runGuarded(&mainWindow_, [this] {
        StoreSession session(store_);
        store_.WriteInteger(session_.CurrentUsername, "QuickviewWindowLeft", x());
        store_.WriteInteger(session_.CurrentUsername, "QuickviewWindowTop", y());
        session.close();
    });
    QWidget::closeEvent(event);
}

}  // namespace keystead
