#include "entries/EntryForm.h"

#include "entries/EntryValidation.h"
#include "platform/AccessibleLabel.h"
#include "platform/CharacterLimitValidator.h"
#include "platform/DialogFont.h"
#include "platform/ErrorDisplay.h"
#include "platform/EscapeKeepsOpen.h"
#include "platform/HelpWindow.h"
#include "platform/KeyPreview.h"
#include "platform/MessageBox.h"
#include "platform/TextConversion.h"
#include "platform/WhatsThis.h"
#include "platform/WindowPlacement.h"
#include "store/MainSettings.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace keystead {
namespace {

constexpr int kDaysLimit = 3;
constexpr int kCommentsLimit = 2000;
constexpr int kEditHeight = 21;

// The comments box keeps to its limit: what is typed or pasted beyond it is cut off. A longer
// text the dialog opens with stays whole; it can only shrink.
void limitLength(QPlainTextEdit& box, int limit)
{
    QObject::connect(&box, &QPlainTextEdit::textChanged, &box,
                     [&box, limit, allowed = CharacterLimitValidator::visibleLength(box.toPlainText())]() mutable {
                         const int length = CharacterLimitValidator::visibleLength(box.toPlainText());
                         const int excess = length - std::max(limit, allowed);
                         if (excess <= 0) {
                             allowed = length;
                             return;
                         }
                         // The cursor stands right after what was just typed or pasted.
                         QTextCursor cursor = box.textCursor();
                         cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, excess);
                         cursor.removeSelectedText();
                     });
}

// The check box's caption must end before the interval box; a wide system font is narrowed until
// it does.
void fitCaption(QCheckBox& box, int width)
{
    QFont font = box.font();
    for (int stretch = QFont::Unstretched; box.sizeHint().width() > width && stretch > QFont::Condensed;) {
        stretch -= 5;
        font.setStretch(stretch);
        box.setFont(font);
    }
    box.resize(width, box.sizeHint().height());
}

void placeEdit(QLineEdit& edit, const char* name, QRect place, int limit)
{
    edit.setObjectName(QLatin1String(name));
    edit.setGeometry(place);
    edit.setValidator(new CharacterLimitValidator(limit, &edit));
}

QLabel* addLabel(QWidget& form, const char* name, const QString& text, QPoint place, int helpContext)
{
    auto* label = new QLabel(text, &form);
    label->setObjectName(QLatin1String(name));
    label->move(place);
    label->adjustSize();
    setHelpContext(*label, helpContext);
    return label;
}

}  // namespace

EntryForm::EntryForm(SessionState& session, RegistryStore& store, EntryEditTarget& target, QWidget* parent,
                     const EntryFormKind& kind, const EntryTexts& opening)
    : QDialog(parent),
      txtDescription(new QLineEdit(this)),
      txtUsername(new QLineEdit(this)),
      txtPassword(new QLineEdit(this)),
      chkExpire(new QCheckBox(QStringLiteral("This password expires every"), this)),
      txtExpire(new QLineEdit(this)),
      txtCurrent(new QLineEdit(this)),
      memComments(new QPlainTextEdit(this)),
      cmdDone(new QPushButton(QStringLiteral("&Done"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)),
      session_(session),
      store_(store),
      target_(target),
      kind_(kind)
{
    setObjectName(QLatin1String(kind.objectName));
    setWindowTitle(QLatin1String(kind.caption));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    setFixedSize(329, 311);
    useDialogFont(*this);
    buildControls();
    connect(chkExpire, &QCheckBox::toggled, this, [this] { chkExpireClick(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDoneClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });

    chkExpireClick();
    fill(opening);
    limitLength(*memComments, kCommentsLimit);
    readPosition();
}

void EntryForm::buildControls()
{
    placeEdit(*txtDescription, "txtDescription", {104, 16, 209, kEditHeight}, kTextLimit);
    placeEdit(*txtUsername, "txtUsername", {104, 40, 209, kEditHeight}, kTextLimit);
    placeEdit(*txtPassword, "txtPassword", {104, 64, 209, kEditHeight}, kTextLimit);
    placeEdit(*txtExpire, "txtExpire", {176, 104, 33, kEditHeight}, kDaysLimit);
    placeEdit(*txtCurrent, "txtCurrent", {176, 133, 33, kEditHeight}, kDaysLimit);

    chkExpire->setObjectName(QStringLiteral("chkExpire"));
    chkExpire->move(16, 106);
    fitCaption(*chkExpire, txtExpire->x() - chkExpire->x() - 3);

    memComments->setObjectName(QStringLiteral("memComments"));
    memComments->setGeometry(16, 192, 297, 65);
    memComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memComments->setTabChangesFocus(true);

    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setGeometry(144, 280, 81, 25);
    cmdDone->setDefault(true);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(232, 280, 81, 25);

    placeLabels();
    placeSeparators();
    setTabOrderAndHelp();
}

void EntryForm::placeLabels()
{
    tieLabel(*addLabel(*this, "lblDescription", QStringLiteral("Description:"), {16, 18}, 4001), *txtDescription);
    tieLabel(*addLabel(*this, "lblUsername", QStringLiteral("Username:"), {16, 42}, 4002), *txtUsername);
    tieLabel(*addLabel(*this, "lblPassword", QStringLiteral("Password:"), {16, 66}, 4003), *txtPassword);
    addLabel(*this, "lblDays", QStringLiteral("days."), {216, 107}, 4006);
    // The days box sits inside the check box's sentence, which names it.
    txtExpire->setAccessibleName(QStringLiteral("This password expires every (days)"));
    tieLabel(*addLabel(*this, "lblComments", QStringLiteral("Comments"), {16, 176}, 4008), *memComments);

    // Right-aligned, ending where its box begins however wide the font makes it.
    QLabel* current = addLabel(*this, "lblCurrent", QStringLiteral("Current days till expiration:"), {40, 136}, 4007);
    current->setAlignment(Qt::AlignRight | Qt::AlignTop);
    tieLabel(*current, *txtCurrent);
    const int width = std::max(129, current->width());
    current->setGeometry(40 + 129 - width, 136, width, current->height());
}

void EntryForm::placeSeparators()
{
    for (const int top : {94, 165, 268}) {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(8, top, 313, 2);
    }
}

void EntryForm::setTabOrderAndHelp()
{
    QWidget* const order[] = {txtDescription, txtUsername, txtPassword, chkExpire, txtExpire,
                              txtCurrent,     memComments, cmdDone,     cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    const std::pair<QWidget*, int> contexts[] = {{txtDescription, 4001}, {txtUsername, 4002}, {txtPassword, 4003},
                                                 {chkExpire, 4005},      {txtExpire, 4006},   {txtCurrent, 4007},
                                                 {memComments, 4008}};
    for (const auto& [control, context] : contexts)
        setHelpContext(*control, context);
}

void EntryForm::fill(const EntryTexts& texts)
{
    txtDescription->setText(toQString(texts.description));
    txtUsername->setText(toQString(texts.username));
    txtPassword->setText(toQString(texts.password));
    memComments->setPlainText(toMultiLineQString(texts.comments));
    openingComments_ = texts.comments;
    openingCommentsShown_ = memComments->document()->toRawText();
    chkExpire->setChecked(!texts.expiration.empty());
    txtExpire->setText(toQString(texts.expiration));
    txtCurrent->setText(toQString(texts.daysTillExpiration));
}

void EntryForm::chkExpireClick()
{
    const bool checked = chkExpire->isChecked();
    const QColor background = palette().color(checked ? QPalette::Base : QPalette::Button);
    for (QLineEdit* box : {txtExpire, txtCurrent}) {
        box->setEnabled(checked);
        QPalette colours = box->palette();
        colours.setColor(QPalette::Base, background);
        box->setPalette(colours);
        if (!checked)
            box->clear();
    }
}

void EntryForm::cmdDoneClick()
{
    const EntryCheck check = CheckEntryTexts(typedTexts(), chkExpire->isChecked(), kind_.noDescriptionText);
    if (check.refusal) {
        showWarning(this, toQString(check.refusal->message));
        field(check.refusal->input).setFocus();
        return;
    }
    txtCurrent->setText(toQString(check.texts.daysTillExpiration));
    runGuarded(this, [&] { save(check.texts); });
}

EntryTexts EntryForm::typedTexts() const
{
    return {toBytes(txtDescription->text()), toBytes(txtUsername->text()), toBytes(txtPassword->text()),
            typedComments(),                     toBytes(txtExpire->text()),  toBytes(txtCurrent->text())};
}

// Comments are stored as typed, no-break spaces and line separators included, which only the
// box's raw text keeps. Comments left as they opened come back byte for byte: the box cannot hold
// a lone CR.
std::string EntryForm::typedComments() const
{
    const QString shown = memComments->document()->toRawText();
    if (shown == openingCommentsShown_)
        return openingComments_;
    return toMultiLineBytes(QString(shown).replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
}

QWidget& EntryForm::field(EntryInput input) const
{
    switch (input) {
    case EntryInput::Description: return *txtDescription;
    case EntryInput::Password: return *txtPassword;
    case EntryInput::Expiration: return *txtExpire;
    case EntryInput::DaysTillExpiration: return *txtCurrent;
    }
    return *txtDescription;
}

void EntryForm::readPosition()
{
    const std::string name = kind_.positionName;
    const std::string& user = session_.CurrentUsername;
    move(ClampedPosition(store_.ReadInteger(user, name + "WindowLeft", 0)),
         ClampedPosition(store_.ReadInteger(user, name + "WindowTop", 0)));
    ClampFormToScreen(*this);
}

void EntryForm::writePosition() const
{
    const std::string name = kind_.positionName;
    const std::string& user = session_.CurrentUsername;
    StoreSession storeSession(store_);
    store_.WriteInteger(user, name + "WindowLeft", pos().x());
    store_.WriteInteger(user, name + "WindowTop", pos().y());
    storeSession.close();
}

void EntryForm::done(int result)
{
    runGuarded(this, [this] { writePosition(); });
    QDialog::done(result);
}

bool EntryForm::FormKeyUp(const QKeyEvent& key)
{
    if (key.type() != QEvent::KeyRelease || key.key() != Qt::Key_F1 || key.isAutoRepeat())
        return false;
    ShowHelpTopic(*this, kind_.helpTopic);
    return true;
}

}  // namespace keystead
