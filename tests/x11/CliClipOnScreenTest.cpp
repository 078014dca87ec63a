// keystead-cli clip on a real X server, read by another program (xclip): the copy is offered with
// the password managers' hint while the tool waits, gone when the count runs out or at Ctrl+C, and
// a text another program copied in between ends the wait and stays.

#include "ScreenTest.h"

#include <QProcess>
#include <QTest>

#include <csignal>

namespace keystead::test {
namespace {

constexpr int kDeadlineMs = 30000;

class CliClipOnScreenTest : public ScreenTest {
protected:
    CliClipOnScreenTest()
    {
        addEntry({"Bank", "bo", "p1", "", "", ""});
        write("MajorVersion", "3");   // the tool leaves the upgrade of older data to the program
    }

    // Started with the logon password given, and waited for until it says it holds the copy.
    void startClip(QProcess& cli, const QStringList& options)
    {
        cli.start(QStringLiteral(KEYSTEAD_CLI),
                  QStringList{QStringLiteral("clip"), QStringLiteral("--user"), QStringLiteral("Alice"),
                              QStringLiteral("--store"), QString::fromStdString(storeFile.string()),
                              QStringLiteral("--password-stdin"), QStringLiteral("Bank")} +
                      options);
        ASSERT_TRUE(cli.waitForStarted(kDeadlineMs));
        cli.write("pw\n");
        cli.closeWriteChannel();
        ASSERT_TRUE(QTest::qWaitFor([&cli] { return cli.peek(1 << 16).contains("Clipboard clears in"); }, kDeadlineMs))
            << cli.readAllStandardError().toStdString();
    }

    // What another program pastes from the clipboard, in the form it asks for.
    static QString pasted(const QString& target = QString())
    {
        QStringList arguments{QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")};
        if (!target.isEmpty())
            arguments << QStringLiteral("-t") << target;
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), arguments);
        EXPECT_TRUE(xclip.waitForFinished(kDeadlineMs));
        return QString::fromUtf8(xclip.readAllStandardOutput());
    }

    // Ended with status 0, or by a signal; its last line says how. The event loop runs meanwhile:
    // it feeds the other processes of the test.
    static QByteArray ended(QProcess& cli, QProcess::ExitStatus how = QProcess::NormalExit)
    {
        EXPECT_TRUE(QTest::qWaitFor([&cli] { return cli.state() == QProcess::NotRunning; }, kDeadlineMs));
        EXPECT_EQ(cli.exitStatus(), how);
        if (how == QProcess::NormalExit) {
            EXPECT_EQ(cli.exitCode(), 0);
        }
        return cli.readAllStandardError();
    }
};

TEST_F(CliClipOnScreenTest, TheCopyIsOfferedWithTheHintAndClearedByCtrlCOrTheCount)
{
    QProcess held;
    held.setReadChannel(QProcess::StandardError);
    ASSERT_NO_FATAL_FAILURE(
        startClip(held, {QStringLiteral("--seconds"), QStringLiteral("999"), QStringLiteral("--username")}));
    EXPECT_EQ(pasted(), QStringLiteral("bo"));
    EXPECT_EQ(pasted(QStringLiteral("STRING")), QStringLiteral("bo"));
    EXPECT_EQ(pasted(QStringLiteral("x-kde-passwordManagerHint")), QStringLiteral("secret"));
    const QStringList targets = pasted(QStringLiteral("TARGETS")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const char* target : {"TARGETS", "UTF8_STRING", "STRING", "TEXT", "x-kde-passwordManagerHint"})
        EXPECT_TRUE(targets.contains(QLatin1String(target))) << target;
    // Only to the tool: a process id of 0 would signal the test's whole process group.
    ASSERT_GT(held.processId(), 0);
    ::kill(static_cast<pid_t>(held.processId()), SIGINT);
    // Cleared first, then ended by the signal, so that a shell running a script stops too.
    EXPECT_TRUE(ended(held, QProcess::CrashExit).endsWith("Clipboard cleared\n"));
    EXPECT_EQ(pasted(), QString());

    QProcess counted;
    counted.setReadChannel(QProcess::StandardError);
    ASSERT_NO_FATAL_FAILURE(startClip(counted, {QStringLiteral("--seconds"), QStringLiteral("1")}));
    EXPECT_TRUE(ended(counted).endsWith("Clipboard cleared\n"));
    EXPECT_EQ(pasted(), QString());
}

TEST_F(CliClipOnScreenTest, AnotherProgramsCopyEndsTheWaitAndStays)
{
    QProcess cli;
    cli.setReadChannel(QProcess::StandardError);
    ASSERT_NO_FATAL_FAILURE(startClip(cli, {QStringLiteral("--seconds"), QStringLiteral("999")}));
    EXPECT_EQ(pasted(), QStringLiteral("p1"));
    // xclip keeps offering the text in the foreground until it is ended.
    QProcess other;
    other.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-quiet"), QStringLiteral("-i")});
    ASSERT_TRUE(other.waitForStarted(kDeadlineMs));
    other.write("other text");
    other.closeWriteChannel();
    EXPECT_TRUE(ended(cli).endsWith("Another program copied meanwhile; its text stays.\n"));
    EXPECT_EQ(pasted(), QStringLiteral("other text"));
    other.kill();
    other.waitForFinished(kDeadlineMs);
}

}  // namespace
}  // namespace keystead::test
