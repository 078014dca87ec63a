#include "desktop/Options.h"

#include "desktop/PaletteColor.h"
#include "exchange/ExportPath.h"
#include "platform/AccessibleLabel.h"
#include "platform/BrowseFolder.h"
#include "platform/DialogFont.h"
#include "platform/ErrorDisplay.h"
#include "platform/EscapeKeepsOpen.h"
#include "platform/HelpWindow.h"
#include "platform/KeyPreview.h"
#include "platform/MessageBox.h"
#include "platform/Pickers.h"
#include "platform/TextConversion.h"
#include "platform/WhatsThis.h"
#include "platform/WindowPlacement.h"
#include "store/ColorText.h"
#include "store/MainSettings.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>
#include <vector>

namespace keystead {
namespace {

constexpr int kOptionsHelpTopic = 9000;
constexpr QPoint kPanelPlace(32, 48);
constexpr QSize kPanelSize(305, 241);
constexpr int kPanelEditHeight = 21;
// The minutes the idle lock's box offers while the lock is off.
constexpr int kDefaultShownLockMinutes = 10;

QCheckBox* addCheck(QWidget& panel, const char* name, const QString& caption, QPoint at)
{
    auto* box = new QCheckBox(caption, &panel);
    box->setObjectName(QLatin1String(name));
    box->move(at);
    box->adjustSize();
    return box;
}

QLabel* addPanelLabel(QWidget& panel, const QString& caption, QPoint at, const char* name = "")
{
    auto* label = new QLabel(caption, &panel);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

QPushButton* addButton(QWidget& parent, const char* name, const QString& caption, QRect place)
{
    auto* button = new QPushButton(caption, &parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    // Enter does nothing by itself in this dialog.
    button->setAutoDefault(false);
    return button;
}

// The font boxes only show the font; it changes through "Set Font".
QLineEdit* addFontBox(QWidget& panel, const char* name, QRect place)
{
    auto* box = new QLineEdit(&panel);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QWidget* addPanel(QWidget& dialog, const char* name)
{
    auto* panel = new QWidget(&dialog);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(QRect(kPanelPlace, kPanelSize));
    panel->hide();
    return panel;
}

// The colour dialog gives plain RGB: 0x00BBGGRR.
ColorValue rgbValue(const QColor& color)
{
    return static_cast<ColorValue>(color.red()) | (static_cast<ColorValue>(color.green()) << 8) |
           (static_cast<ColorValue>(color.blue()) << 16);
}

int pointSize(const QFont& font)
{
    return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
}

}  // namespace

TfrmOptions::TfrmOptions(SessionState& session, RegistryStore& store, OptionsTarget& target, QColor& lastColor,
                         QWidget* parent)
    : QDialog(parent), tabOptions(new QTabWidget(this)), session_(session), store_(store), target_(target),
      lastColor_(lastColor)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    showCloseBoxOnly(*this);
    keepOpenOnEscape(*this);
    useDialogFont(*this);

    tabOptions->setObjectName(QStringLiteral("tabOptions"));
    tabOptions->setAccessibleName(QStringLiteral("Options"));
    tabOptions->setGeometry(8, 8, 345, 285);
    for (const char* caption : {"General", "Fonts", "Export", "Security", "Tray Icon"})
        tabOptions->addTab(new QWidget(tabOptions), QLatin1String(caption));
    pnlGeneral = addPanel(*this, "pnlGeneral");
    pnlFonts = addPanel(*this, "pnlFonts");
    pnlExport = addPanel(*this, "pnlExport");
    pnlSecurity = addPanel(*this, "pnlSecurity");
    pnlTrayIcon = addPanel(*this, "pnlTrayIcon");
    buildGeneral();
    buildFonts();
    buildExport();
    buildSecurity();
    buildTrayIcon();
    cmdDone = addButton(*this, "cmdDone", QStringLiteral("&Done"), {184, 301, 81, 25});
    cmdCancel = addButton(*this, "cmdCancel", QStringLiteral("&Cancel"), {272, 301, 81, 25});
    bfBrowse = new TBrowseFolder(this);
    setHelpContexts();

    connect(tabOptions, &QTabWidget::currentChanged, this, &TfrmOptions::tabOptionsChange);
    connect(chkAutoExport, &QCheckBox::clicked, this, &TfrmOptions::chkAutoExportClick);
    connect(chkMinimizeToTray, &QCheckBox::clicked, this, &TfrmOptions::chkMinimizeToTrayClick);
    connect(chkClearAfter, &QCheckBox::clicked, this, &TfrmOptions::chkClearAfterClick);
    connect(chkLockAfter, &QCheckBox::clicked, this, &TfrmOptions::chkLockAfterClick);
    connect(cmdListFont, &QPushButton::clicked, this, &TfrmOptions::cmdListFontClick);
    connect(cmdNotesFont, &QPushButton::clicked, this, &TfrmOptions::cmdNotesFontClick);
    connect(cmdBrowse, &QPushButton::clicked, this, &TfrmOptions::cmdBrowseClick);
    connect(cmdDone, &QPushButton::clicked, this, &TfrmOptions::cmdDoneClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    pnlColor->installEventFilter(this);
    new KeyPreview(*this, [this](QKeyEvent& key) { return FormKeyUp(key); });
    FormCreate();
}

void TfrmOptions::buildGeneral()
{
    rgSort = new QGroupBox(QStringLiteral("Sort password list by:"), pnlGeneral);
    rgSort->setObjectName(QStringLiteral("rgSort"));
    rgSort->setGeometry(0, 0, kPanelSize.width(), 68);
    rgSortItems = new QButtonGroup(rgSort);
    const char* const items[] = {"Description column", "Username column", "Password column"};
    for (int index = 0; index < 3; ++index) {
        auto* item = new QRadioButton(QLatin1String(items[index]), rgSort);
        // Two columns, filled top to bottom.
        item->move(index < 2 ? 10 : 156, index % 2 == 0 ? 20 : 42);
        item->adjustSize();
        rgSortItems->addButton(item, index);
    }
    chkWarn = addCheck(*pnlGeneral, "chkWarn", QStringLiteral("Warn before deleting passwords"), {0, 78});
    chkPlain = addCheck(*pnlGeneral, "chkPlain", QStringLiteral("Plain logon dialog box"), {0, 100});
    chkGridlines =
        addCheck(*pnlGeneral, "chkGridlines", QStringLiteral("Display gridlines in password list"), {0, 122});
    Label6 = addPanelLabel(*pnlGeneral, QStringLiteral("URL Color"), {0, 155}, "Label6");
    pnlColor = new QFrame(pnlGeneral);
    pnlColor->setObjectName(QStringLiteral("pnlColor"));
    pnlColor->setFrameShape(QFrame::Panel);
    pnlColor->setFrameShadow(QFrame::Sunken);
    pnlColor->setGeometry(Label6->geometry().right() + 10, 150, 41, 23);
    pnlColor->setAutoFillBackground(true);
    pnlColor->setCursor(Qt::PointingHandCursor);
    pnlColor->setFocusPolicy(Qt::TabFocus);
    tieLabel(*Label6, *pnlColor);
}

void TfrmOptions::buildFonts()
{
    lblListFont = addPanelLabel(*pnlFonts, QStringLiteral("Password list font"), {0, 0}, "lblListFont");
    lblListFontSize = addPanelLabel(*pnlFonts, QStringLiteral("Size"), {196, 0}, "lblListFontSize");
    txtListFont = addFontBox(*pnlFonts, "txtListFont", {0, 16, 188, kPanelEditHeight});
    txtListFontSize = addFontBox(*pnlFonts, "txtListFontSize", {196, 16, 36, kPanelEditHeight});
    cmdListFont = addButton(*pnlFonts, "cmdListFont", QStringLiteral("Set Font"), {240, 14, 65, 25});
    lblNotesFont = addPanelLabel(*pnlFonts, QStringLiteral("Comments font"), {0, 56}, "lblNotesFont");
    lblNotesFontSize = addPanelLabel(*pnlFonts, QStringLiteral("Size"), {196, 56}, "lblNotesFontSize");
    txtNotesFont = addFontBox(*pnlFonts, "txtNotesFont", {0, 72, 188, kPanelEditHeight});
    txtNotesFontSize = addFontBox(*pnlFonts, "txtNotesFontSize", {196, 72, 36, kPanelEditHeight});
    tieLabel(*lblListFont, *txtListFont);
    tieLabel(*lblListFontSize, *txtListFontSize);
    tieLabel(*lblNotesFont, *txtNotesFont);
    tieLabel(*lblNotesFontSize, *txtNotesFontSize);
    cmdNotesFont = addButton(*pnlFonts, "cmdNotesFont", QStringLiteral("Set Font"), {240, 70, 65, 25});
}

void TfrmOptions::buildExport()
{
    chkAutoExport =
        addCheck(*pnlExport, "chkAutoExport", QStringLiteral("Automatically export passwords on exit:"), {0, 0});
    txtExportPath = new QLineEdit(pnlExport);
    txtExportPath->setObjectName(QStringLiteral("txtExportPath"));
    txtExportPath->setGeometry(0, 26, 264, kPanelEditHeight);
    txtExportPath->setAccessibleName(QStringLiteral("Export path"));
    cmdBrowse = addButton(*pnlExport, "cmdBrowse", QStringLiteral("..."), {270, 24, 35, 25});
}

void TfrmOptions::buildSecurity()
{
    Label1 = new QLabel(QStringLiteral("Display the following fields in plain text when 'Show Passwords' is toggled off:"),
                        pnlSecurity);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setGeometry(0, 0, kPanelSize.width(), 30);
    chkDescription = addCheck(*pnlSecurity, "chkDescription", QStringLiteral("Description"), {16, 34});
    chkComments = addCheck(*pnlSecurity, "chkComments", QStringLiteral("Comments"), {16, 56});
    chkProtectToggle = addCheck(*pnlSecurity, "chkProtectToggle",
                                QStringLiteral("Password protect when 'Show Passwords' is off"), {0, 88});
    chkClear = addCheck(*pnlSecurity, "chkClear", QStringLiteral("Clear clipboard contents on exit"), {0, 110});
    chkUseLastUsername = addCheck(*pnlSecurity, "chkUseLastUsername",
                                  QStringLiteral("Remember last used username when logging on"), {0, 132});
    chkClearAfter = addCheck(*pnlSecurity, "chkClearAfter", QStringLiteral("Clear the clipboard"), {0, 156});
    txtClearSeconds = new QSpinBox(pnlSecurity);
    txtClearSeconds->setObjectName(QStringLiteral("txtClearSeconds"));
    txtClearSeconds->setRange(1, kLargestClipboardClearSeconds);
    txtClearSeconds->setGeometry(chkClearAfter->geometry().right() + 4, 154, 48, kPanelEditHeight);
    lblClearSeconds = addPanelLabel(*pnlSecurity, QStringLiteral("seconds after copying a password"),
                               {txtClearSeconds->geometry().right() + 5, 158}, "lblClearSeconds");
    // The sentence's end wraps onto a second line where the panel ends, whatever the font.
    lblClearSeconds->setWordWrap(true);
    const int clearWidth = kPanelSize.width() - lblClearSeconds->x();
    lblClearSeconds->resize(clearWidth, lblClearSeconds->heightForWidth(clearWidth));
    tieLabel(*lblClearSeconds, *txtClearSeconds);
    // The lock's rows start below the clipboard sentence, however many lines it took.
    const int lockTop = std::max(182, lblClearSeconds->geometry().bottom() + 4);
    chkLockAfter = addCheck(*pnlSecurity, "chkLockAfter", QStringLiteral("Lock after"), {0, lockTop});
    txtLockMinutes = new QSpinBox(pnlSecurity);
    txtLockMinutes->setObjectName(QStringLiteral("txtLockMinutes"));
    txtLockMinutes->setRange(1, kLargestLockIdleMinutes);
    txtLockMinutes->setGeometry(chkLockAfter->geometry().right() + 4, lockTop - 2, 48, kPanelEditHeight);
    lblLockMinutes = addPanelLabel(*pnlSecurity, QStringLiteral("minutes without input"),
                              {txtLockMinutes->geometry().right() + 5, lockTop + 2}, "lblLockMinutes");
    tieLabel(*lblLockMinutes, *txtLockMinutes);
    chkLockOnScreenLock = addCheck(*pnlSecurity, "chkLockOnScreenLock",
                                   QStringLiteral("Lock when the screen locks or the computer sleeps"), {0, lockTop + 24});
}

void TfrmOptions::buildTrayIcon()
{
    chkMinimizeToTray = addCheck(*pnlTrayIcon, "chkMinimizeToTray", QStringLiteral("Minimize to Taskbar Tray"), {0, 0});
    chkPasswordProtectTray = addCheck(*pnlTrayIcon, "chkPasswordProtectTray",
                                      QStringLiteral("Password protect when in Taskbar Tray"), {16, 22});
}

// What's This? finds a control's topic here. The buttons beside the boxes and the Security
// tab's heading have none.
void TfrmOptions::setHelpContexts()
{
    const std::pair<std::vector<QWidget*>, int> contexts[] = {
        {{chkWarn}, 9001},
        {{chkClear, chkClearAfter, txtClearSeconds, lblClearSeconds}, 9002},
        {{chkAutoExport}, 9003},
        {{txtExportPath}, 9004},
        {{rgSort}, 9005},
        {{chkDescription}, 9006},
        {{chkComments}, 9007},
        {{chkProtectToggle}, 9008},
        {{chkPlain}, 9010},
        {{chkUseLastUsername}, 9011},
        {{lblListFont, lblListFontSize, txtListFont, txtListFontSize}, 9012},
        {{lblNotesFont, lblNotesFontSize, txtNotesFont, txtNotesFontSize}, 9013},
        {{chkGridlines}, 9014},
        {{chkMinimizeToTray}, 9015},
        {{chkPasswordProtectTray}, 9016},
        {{Label6, pnlColor}, 9017},
    };
    for (const auto& [controls, context] : contexts)
        for (QWidget* control : controls)
            setHelpContext(*control, context);
    for (QAbstractButton* item : rgSortItems->buttons())
        setHelpContext(*item, helpContext(*rgSort));
}

void TfrmOptions::FormCreate()
{
    setFixedSize(tabOptions->width() + 18, cmdDone->geometry().bottom() + 1 + tabOptions->y() - 1);
    centerOnScreen(*this);
    tabOptions->setCurrentIndex(0);
    pnlGeneral->show();

    const MainSettings& s = target_.settings();
    openingSortColumn_ = s.sortColumn;
    openingShowSystem_ = s.showSystem;
    openingShowComments_ = s.showComments;

    rgSortItems->button(s.sortColumn)->setChecked(true);
    chkWarn->setChecked(s.deleteWarning);
    chkDescription->setChecked(s.showSystem);
    chkComments->setChecked(s.showComments);
    chkProtectToggle->setChecked(s.protectToggle);
    chkClear->setChecked(s.clearClipboard);
    chkClearAfter->setChecked(s.clipboardClearSeconds > 0);
    txtClearSeconds->setValue(s.clipboardClearSeconds > 0 ? s.clipboardClearSeconds : kDefaultClipboardClearSeconds);
    chkClearAfterClick();
    chkLockAfter->setChecked(s.lockIdleMinutes > 0);
    txtLockMinutes->setValue(s.lockIdleMinutes > 0 ? s.lockIdleMinutes : kDefaultShownLockMinutes);
    chkLockAfterClick();
    chkLockOnScreenLock->setChecked(s.lockOnScreenLock);
    chkUseLastUsername->setChecked(s.useLastUsername);
    chkGridlines->setChecked(s.showGridlines);
    chkPlain->setChecked(!s.fancyLogon);

    // Without a tray the window never goes there: the boxes would protect nothing.
    const bool trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    chkMinimizeToTray->setChecked(s.minimizeToTray);
    chkMinimizeToTray->setEnabled(trayAvailable);
    chkPasswordProtectTray->setChecked(s.minimizeToTray && s.passwordProtectTray);
    chkPasswordProtectTray->setEnabled(trayAvailable && s.minimizeToTray);

    chkAutoExport->setChecked(s.autoExport);
    chkAutoExportClick();
    // As stored: on a file system where case counts, another case names another file.
    txtExportPath->setText(toQString(s.autoExportPath));

    txtListFont->setText(toQString(s.listFontName));
    txtNotesFont->setText(toQString(s.notesFontName));
    txtListFontSize->setText(QString::number(s.listFontSize));
    txtNotesFontSize->setText(QString::number(s.notesFontSize));

    const ColorValue color = ReadUrlColor(s.urlColor);
    urlColor_ = WriteColorText(color);
    setColor(ResolveColor(color, palette()));
}

void TfrmOptions::tabOptionsChange(int index)
{
    QWidget* const panels[] = {pnlGeneral, pnlFonts, pnlExport, pnlSecurity, pnlTrayIcon};
    panels[shownPanel_]->hide();
    shownPanel_ = index;
    panels[shownPanel_]->show();
}

void TfrmOptions::chkAutoExportClick()
{
    const bool on = chkAutoExport->isChecked();
    txtExportPath->setEnabled(on);
    cmdBrowse->setEnabled(on);
    QPalette colours = txtExportPath->palette();
    colours.setColor(QPalette::Base, palette().color(on ? QPalette::Base : QPalette::Button));
    txtExportPath->setPalette(colours);
}

void TfrmOptions::chkMinimizeToTrayClick()
{
    const bool on = chkMinimizeToTray->isChecked();
    chkPasswordProtectTray->setEnabled(on);
    if (!on)
        chkPasswordProtectTray->setChecked(false);
}

void TfrmOptions::chkClearAfterClick()
{
    txtClearSeconds->setEnabled(chkClearAfter->isChecked());
}

void TfrmOptions::chkLockAfterClick()
{
    txtLockMinutes->setEnabled(chkLockAfter->isChecked());
}

// Preset with the font in effect, not a font chosen earlier in this dialog.
void TfrmOptions::cmdListFontClick()
{
    const MainSettings& s = target_.settings();
    if (const std::optional<QFont> font = showFontPicker(this, QFont(toQString(s.listFontName), s.listFontSize))) {
        txtListFont->setText(font->family());
        txtListFontSize->setText(QString::number(pointSize(*font)));
    }
}

void TfrmOptions::cmdNotesFontClick()
{
    const MainSettings& s = target_.settings();
    if (const std::optional<QFont> font = showFontPicker(this, QFont(toQString(s.notesFontName), s.notesFontSize))) {
        txtNotesFont->setText(font->family());
        txtNotesFontSize->setText(QString::number(pointSize(*font)));
    }
}

void TfrmOptions::pnlColorClick()
{
    const std::optional<QColor> color = showColorPicker(this, lastColor_);
    if (!color)
        return;
    lastColor_ = *color;
    urlColor_ = WriteColorText(rgbValue(*color));
    setColor(*color);
}

void TfrmOptions::setColor(const QColor& color)
{
    QPalette colours = pnlColor->palette();
    colours.setColor(QPalette::Window, color);
    pnlColor->setPalette(colours);
}

void TfrmOptions::cmdBrowseClick()
{
    QString fileName = toQString(ExportFileNamePart(toBytes(txtExportPath->text())));
    if (fileName.isEmpty())
        fileName = toQString(ReplacedExportFileName(session_.CurrentUsername));
    if (!bfBrowse->Execute())
        return;
    txtExportPath->setText(toQString(JoinExportPath(toBytes(bfBrowse->Directory), toBytes(fileName))));
}

bool TfrmOptions::exportPathAccepted()
{
    // As typed, whether or not the automatic export is on.
    switch (CheckExportPath(toBytes(txtExportPath->text()))) {
    case ExportPathProblem::FileName:
        refuseInput(*txtExportPath, QStringLiteral("The export filename is invalid."));
        return false;
    case ExportPathProblem::Folder:
        refuseInput(*txtExportPath, QStringLiteral("The export path is invalid."));
        return false;
    case ExportPathProblem::None:
        break;
    }
    return true;
}

void TfrmOptions::takeOver(MainSettings& s) const
{
    s.sortColumn = std::max(0, rgSortItems->checkedId());
    s.deleteWarning = chkWarn->isChecked();
    s.fancyLogon = !chkPlain->isChecked();
    s.showSystem = chkDescription->isChecked();
    s.showComments = chkComments->isChecked();
    s.protectToggle = chkProtectToggle->isChecked();
    s.clearClipboard = chkClear->isChecked();
    s.clipboardClearSeconds = chkClearAfter->isChecked() ? txtClearSeconds->value() : 0;
    s.lockIdleMinutes = chkLockAfter->isChecked() ? txtLockMinutes->value() : 0;
    s.lockOnScreenLock = chkLockOnScreenLock->isChecked();
    s.autoExport = chkAutoExport->isChecked();
    s.useLastUsername = chkUseLastUsername->isChecked();
    s.showGridlines = chkGridlines->isChecked();
    s.minimizeToTray = chkMinimizeToTray->isChecked();
    s.passwordProtectTray = chkPasswordProtectTray->isChecked();
    s.autoExportPath = toBytes(txtExportPath->text().trimmed());
    s.urlColor = urlColor_;
    s.listFontName = toBytes(txtListFont->text());
    s.notesFontName = toBytes(txtNotesFont->text());
    s.listFontSize = txtListFontSize->text().toInt();
    s.notesFontSize = txtNotesFontSize->text().toInt();
}

void TfrmOptions::cmdDoneClick()
{
    if (!exportPathAccepted())
        return;
    // The window runs on settings only once they are stored: a failed write is shown, the window
    // keeps what it had, and the dialog stays open, so that Done can be tried again.
    MainSettings s = target_.settings();
    takeOver(s);
    bool written = false;
    runGuarded(this, [&] {
        StoreSession session(store_);
        WriteMainSettings(store_, session_.CurrentUsername, s,
                          chkUseLastUsername->isChecked() ? session_.CurrentUsername : std::string());
        session.close();
        written = true;
    });
    if (!written)
        return;
    target_.settings() = s;
    target_.applyDisplaySettings();
    if (s.sortColumn != openingSortColumn_ || s.showSystem != openingShowSystem_ ||
        s.showComments != openingShowComments_)
        runGuarded(this, [this] { target_.reloadList(); });
    target_.markLinks();
    accept();
}

// The colour panel is a button to the mouse and the keyboard alike; with the focus its frame
// is drawn bolder.
bool TfrmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != pnlColor)
        return QDialog::eventFilter(watched, event);
    const bool clicked = event->type() == QEvent::MouseButtonRelease &&
                         static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    const bool pressed = event->type() == QEvent::KeyPress &&
                         (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                          static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (clicked || pressed) {
        pnlColorClick();
        return true;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        pnlColor->setLineWidth(pnlColor->hasFocus() ? 3 : 1);
    return QDialog::eventFilter(watched, event);
}

bool TfrmOptions::FormKeyUp(QKeyEvent& key)
{
    return showHelpOnF1(*this, key, kOptionsHelpTopic);
}

}  // namespace keystead
