// The copied password forgets itself on a real X server, read by another program (xclip): gone
// once the count runs out, while a text another program copied in between stays.

#include "ScreenTest.h"
#include "XInput.h"
#include "mainwindow/PasswordListView.h"
#include "mainwindow/TrayMinimize.h"
#include "platform/TBNArea.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QTableView>
#include <QTest>

namespace keystead::test {
namespace {

class ClipboardOnScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        addEntry({"Bank", "bo", "p1", "", "", ""});
        write("ClipboardClearSeconds", "1");
    }

    // What another program pastes. Our event loop runs meanwhile: it answers xclip's request.
    static QString pasted()
    {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
        EXPECT_TRUE(QTest::qWaitFor([&xclip] { return xclip.state() == QProcess::NotRunning; }, 10000));
        return QString::fromUtf8(xclip.readAllStandardOutput());
    }

    void copyPassword()
    {
        openMain();
        selectRow(QStringLiteral("Bank"));
        frmMain->lvPasswords->details().setFocus();
        pressKeys({QStringLiteral("ctrl+c")});
        ASSERT_TRUE(QTest::qWaitFor([this] { return status().startsWith("Clipboard clears in"); }, 10000));
        EXPECT_EQ(pasted(), QStringLiteral("p1"));
    }

    QString status() const { return frmMain->sbMessagePanel1->text(); }
    QString tip() const { return frmMain->findChild<TTrayMinimize*>()->TBNArea1->Tip(); }
};

TEST_F(ClipboardOnScreenTest, ACopiedPasswordIsClearedOnceTheCountRunsOut)
{
    copyPassword();
    EXPECT_EQ(status(), QStringLiteral("Clipboard clears in 1 s"));
    EXPECT_EQ(tip(), QStringLiteral("Keystead - Clipboard clears in 1 s"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return status() == QStringLiteral("Clipboard cleared"); }, 10000))
        << status().toStdString();
    EXPECT_EQ(pasted(), QString());
    EXPECT_EQ(tip(), QStringLiteral("Keystead - Clipboard cleared"));
}

// Long enough a count that xclip takes the clipboard before it runs out, however busy the machine.
TEST_F(ClipboardOnScreenTest, AnotherProgramsTextCopiedInBetweenStays)
{
    write("ClipboardClearSeconds", "5");
    copyPassword();
    // xclip keeps offering the text in the foreground until it is ended.
    QProcess other;
    other.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-quiet"), QStringLiteral("-i")});
    ASSERT_TRUE(other.waitForStarted(10000));
    other.write("other text");
    other.closeWriteChannel();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QGuiApplication::clipboard()->ownsClipboard(); }, 10000));
    ASSERT_TRUE(status().startsWith("Clipboard clears in")) << "taken before the count ran out";
    ASSERT_TRUE(QTest::qWaitFor([this] { return status().isEmpty(); }, 15000)) << status().toStdString();
    EXPECT_EQ(pasted(), QStringLiteral("other text"));
    other.kill();
    other.waitForFinished(10000);
}

}  // namespace
}  // namespace keystead::test
