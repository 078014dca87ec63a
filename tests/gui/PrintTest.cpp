// File > Print to a real PDF file, read back with pdftotext: every line of the printout, in the
// order and with the texts the list shows.

#include "GuiTest.h"
#include "crypto/Diamond.h"
#include "exchange/PrintList.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListModel.h"
#include "store/EntryStore.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <sys/stat.h>

namespace keystead::test {
namespace {

class PrintTest : public GuiTest {
protected:
    void SetUp() override
    {
        logOnAliceWith({{"Bank", "alice", "p1", "line one\r\n  line two  ", "", ""},
                        {"Zoo", "", "p2", " \r\n\t ", "", ""},
                        {"apple", "bob", "p3", "", "", ""}});
        openStore()->WriteString("Alice", "SortColumn", "1");
    }

    // Prints through the print dialog, answered with a PDF file, and gives the file's text lines.
    QStringList printedLines(TfrmMain& frmMain)
    {
        script.form<QPrintDialog>([this](QPrintDialog& dialog) {
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(pdf);
            dialog.done(QDialog::Accepted);
        });
        frmMain.mnuFilePrint->trigger();
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(pdftotext.waitForFinished(30000));
        // The reader keeps leading blanks by their place but shows any gap between words as one
        // blank; the exact blanks are checked on the text itself.
        QStringList lines;
        // The reader gives "fi" and "fl" of a random cipher string as ligatures: compatibility
        // normalisation takes them apart again.
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        for (const QString& line : text.split(QLatin1Char('\n')))
            lines << (line.trimmed().isEmpty() ? QString() : line.left(line.indexOf(line.trimmed())) + line.simplified());
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    const QString pdf = QString::fromStdString((folder.path() / "list.pdf").string());
};

TEST_F(PrintTest, EveryLineInListOrder)
{
    TfrmMain frmMain(session, storeFile);
    const QStringList lines = printedLines(frmMain);
    ASSERT_EQ(lines.size(), 10) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^Password list for: Alice \[\d\d.\d\d.\d{4} .+\]$)"))
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString());
    // Sorted by user name: none, "alice", "bob".
    EXPECT_EQ(lines[2], QStringLiteral("Desc.: Zoo, Username: [None], Password: p2"));
    EXPECT_EQ(lines[3], QStringLiteral("--------------------"));
    EXPECT_EQ(lines[4], QStringLiteral("Desc.: Bank, Username: alice, Password: p1"));
    EXPECT_EQ(lines[5], QStringLiteral("line one"));
    EXPECT_EQ(lines[6], QStringLiteral("  line two"));
    EXPECT_EQ(lines[7], QStringLiteral("--------------------"));
    EXPECT_EQ(lines[8], QStringLiteral("Desc.: apple, Username: bob, Password: p3"));
    EXPECT_EQ(lines[9], QStringLiteral("--------------------"));
    EXPECT_TRUE(frmMain.isEnabled());
    EXPECT_TRUE(script.done());
}

// The process's umask for as long as the object lives.
class Umask {
public:
    explicit Umask(mode_t mask) : previous_(::umask(mask)) {}
    ~Umask() { ::umask(previous_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    const mode_t previous_;
};

mode_t modeOf(const QString& file)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    return info.st_mode & 0777;
}

TEST_F(PrintTest, EachRowPrintsTheCommentsItWasReadWithIntoAFileOfItsOwner)
{
    TfrmMain frmMain(session, storeFile);
    // Another window deletes Bank, entry 1: the entries after it move down by one number.
    {
        const auto store = openStore();
        SessionState other = session;
        EntryStore entries(*store, other);
        entries.remove(1, entries.read(1));
    }
    const Umask usual(022);
    const QStringList lines = printedLines(frmMain);
    EXPECT_EQ(lines.mid(1), (QStringList{QString(), QStringLiteral("Desc.: Zoo, Username: [None], Password: p2"),
                                         QStringLiteral("--------------------"),
                                         QStringLiteral("Desc.: Bank, Username: alice, Password: p1"),
                                         QStringLiteral("line one"), QStringLiteral("  line two"),
                                         QStringLiteral("--------------------"),
                                         QStringLiteral("Desc.: apple, Username: bob, Password: p3"),
                                         QStringLiteral("--------------------")}));
    EXPECT_EQ(modeOf(pdf), 0600U);

    // An earlier file that others could read is theirs no more.
    QFile(pdf).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    printedLines(frmMain);
    EXPECT_EQ(modeOf(pdf), 0600U);
    EXPECT_TRUE(script.done());
}

TEST_F(PrintTest, TheTextOfTheLinesWithItsBlanks)
{
    TDiamond cipher;
    cipher.SetKey("pw");
    const std::vector<PrintItem> items{
        {"Zoo", "", "p2", cipher.EncryptToCipherString(" \r\n\t ")},
        {"Bank", "alice", "p1", cipher.EncryptToCipherString("line one\r\n  line two  ")}};
    const Printout printout = BuildPrintout("Alice", cipher, items, "stamp");
    EXPECT_EQ(printout.title.get(), "Password list for: Alice");
    EXPECT_EQ(printout.body.get(), "     [stamp]\n"
                             "\nDesc.: Zoo,  Username: [None],  Password: p2\n--------------------"
                             "\nDesc.: Bank,  Username: alice,  Password: p1\nline one\n  line two  \n--------------------");
}

TEST_F(PrintTest, HiddenPasswordsPrintTheTextsTheListHolds)
{
    session.ShowPasswordsOn = false;
    openStore()->WriteString("Alice", "ShowPasswords", "0");
    TfrmMain frmMain(session, storeFile);
    const PasswordListModel& list = frmMain.listModel();
    const QString zooPassword = list.index(0, 2).data().toString();
    ASSERT_NE(zooPassword, QStringLiteral("p2"));
    const QStringList lines = printedLines(frmMain);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[2], QStringLiteral("Desc.: Zoo, Username: [None], Password: %1").arg(zooPassword));
}

TEST_F(PrintTest, AFileThatCannotBeWrittenIsToldNotPassedOverInSilence)
{
    TfrmMain frmMain(session, storeFile);
    const QString unwritable = QString::fromStdString((folder.path() / "missing" / "list.pdf").string());
    script.form<QPrintDialog>([&unwritable](QPrintDialog& dialog) {
        dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog.printer()->setOutputFileName(unwritable);
        dialog.done(QDialog::Accepted);
    });
    QFile probe(unwritable);
    ASSERT_FALSE(probe.open(QIODevice::WriteOnly));
    script.error(QStringLiteral("Cannot write the file '%1': %2.").arg(unwritable, probe.errorString()));
    frmMain.mnuFilePrint->trigger();
    EXPECT_FALSE(QFile::exists(unwritable));
    EXPECT_TRUE(script.done());
}

TEST_F(PrintTest, CancelInThePrintDialogPrintsNothing)
{
    TfrmMain frmMain(session, storeFile);
    script.form<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    frmMain.mnuFilePrint->trigger();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(script.done());
}

}  // namespace
}  // namespace keystead::test
