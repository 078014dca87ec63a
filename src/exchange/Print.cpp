#include "exchange/Print.h"

#include "platform/DisabledWindow.h"
#include "platform/ModalForm.h"
#include "platform/TextConversion.h"
#include "platform/WindowPlacement.h"
#include "store/KeysteadError.h"
#include "store/SessionState.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDateTime>
#include <QFile>
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

// Inserts a part of the printout and wipes the converted copy, which is ours alone.
void insertSecret(QTextCursor& cursor, const SecretText& part, const QTextCharFormat& format)
{
    QString text = toQString(part.get());
    cursor.insertText(text, format);
    text.fill(QChar(0));
}

void layOut(QTextDocument& document, const Printout& printout)
{
    document.setDefaultFont(QFont(QString::fromLatin1(kPrintFontName), 8));
    QTextCursor cursor(&document);
    QTextCharFormat title;
    title.setFontPointSize(14);
    title.setFontWeight(QFont::Bold);
    insertSecret(cursor, printout.title, title);
    QTextCharFormat body;
    body.setFontPointSize(8);
    body.setFontWeight(QFont::Normal);
    insertSecret(cursor, printout.body, body);
}

// A PDF of the list holds every password: like the export files, it is readable by its owner
// alone, whatever the umask, also where an earlier file of that name was not. A file that cannot
// be written is told here, as the printing itself would end without a word.
void makePrivateOutputFile(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return;
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(printer.outputFileName());
    if (!file.open(QIODevice::WriteOnly, ownerOnly))
        throw KeysteadError("Cannot write the file '" + toBytes(file.fileName()) + "': " +
                            toBytes(file.errorString()));
    file.setPermissions(ownerOnly);
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

void PrintPasswordList(QWidget& owner, const SessionState& session, const TDiamond& cipher,
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

    const Printout printout = BuildPrintout(session.CurrentUsername, cipher, items, printStamp(dateSeparator));

    QTextDocument document;
    // Laid out for the printer's page, so that it prints as laid out, without the page numbers
    // Qt adds to a document of no page size.
    document.documentLayout()->setPaintDevice(&printer);
    document.setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
    layOut(document, printout);
    printer.setDocName(QString());
    makePrivateOutputFile(printer);
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw KeysteadError("The password list could not be printed");
}

}  // namespace keystead
