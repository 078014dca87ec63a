#include "exchange/Print.h"

#include "desktop/ModalForm.h"
#include "desktop/TextConversion.h"
#include "desktop/WindowPlacement.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

namespace keystead {
namespace {

constexpr const char* kPrintFontName = "MS Sans Serif";

// Keeps a window disabled for as long as it lives.
class DisabledWindow {
public:
    explicit DisabledWindow(QWidget& window) : window_(window) { window_.setEnabled(false); }
    ~DisabledWindow() { window_.setEnabled(true); }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    QWidget& window_;
};

// The date in the program's short date form (dd, mm, yyyy and the system's separator) and the
// time in the system's long form, without the time zone that Qt's long form appends.
std::string printStamp(char dateSeparator)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString separator{QLatin1Char(dateSeparator)};
    QString timeFormat = QLocale::system().timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return toBytes(now.date().toString(QStringLiteral("dd") + separator + QStringLiteral("MM") + separator +
                                       QStringLiteral("yyyy")) +
                   QLatin1Char(' ') + QLocale::system().toString(now.time(), timeFormat.trimmed()));
}

void layOut(QTextDocument& document, const Printout& printout)
{
    document.setDefaultFont(QFont(QString::fromLatin1(kPrintFontName), 8));
    QTextCursor cursor(&document);
    QTextCharFormat title;
    title.setFontPointSize(14);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(toQString(printout.title), title);
    QTextCharFormat body;
    body.setFontPointSize(8);
    body.setFontWeight(QFont::Normal);
    cursor.insertText(toQString(printout.body), body);
}

}  // namespace

TfrmPrint::TfrmPrint(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Print"));
    imgPicture = new QLabel(this);
    imgPicture->setPixmap(QIcon(QStringLiteral(":/pictures/toolbar-print.png")).pixmap(32, 32));
    imgPicture->setFixedSize(32, 32);
    lblMessage = new QLabel(QStringLiteral("Now printing your password list..."), this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(imgPicture);
    layout->addWidget(lblMessage);
    setFixedSize(sizeHint());
    centerOnScreen(*this);
}

void PrintPasswordList(QWidget& owner, RegistryStore& store, const SessionState& session, const TDiamond& cipher,
                       const std::vector<PrintItem>& items, char dateSeparator)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dlgPrint(&printer, &owner);
    if (showModal(dlgPrint) != QDialog::Accepted)
        return;
    const DisabledWindow disabled(owner);
    TfrmPrint frmPrint(&owner);
    frmPrint.show();
    QApplication::processEvents();

    StoreSession storeSession(store);
    const Printout printout = BuildPrintout(store, session.CurrentUsername, cipher, items, printStamp(dateSeparator));
    storeSession.close();

    QTextDocument document;
    // Laid out for the printer's page, so that it prints as laid out, without the page numbers
    // Qt adds to a document of no page size.
    document.documentLayout()->setPaintDevice(&printer);
    document.setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
    layOut(document, printout);
    printer.setDocName(QString());
    document.print(&printer);
}

}  // namespace keystead
