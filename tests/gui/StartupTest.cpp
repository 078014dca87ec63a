// The start of the program: which logon window comes, the end without a logon, the upgrade of
// data from earlier versions with its question, the version stamp, and a store that cannot be
// opened.

#include "../support/ReadFile.h"
#include "GuiTest.h"
#include "app/Startup.h"
#include "crypto/Diamond.h"
#include "mainwindow/Main.h"
#include "session/Logon.h"
#include "session/NewUser.h"
#include "session/PlainLogon.h"
#include "session/VorrentImage.h"
#include "store/StoreBackups.h"
#include "store/StoreSeal.h"

#include <QComboBox>
#include <QDateTime>
#include <QLocale>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <fstream>

namespace keystead::test {

namespace {

const QString kUpgradeQuestion = QStringLiteral(
    "Data from your previous version of Keystead must be updated before you can use this new version. "
    "Would you like to perform the update now?");

class StartupTest : public GuiTest {
protected:
    std::unique_ptr<TfrmMain> start(const std::filesystem::path& executable = KEYSTEAD_EXECUTABLE)
    {
        Startup startup(session, storeFile, executable);
        auto frmMain = startup.Execute();
        exitCode = startup.exitCode();
        return frmMain;
    }

    void expectLogon(const QString& name, const QString& password)
    {
        script.form<TfrmLogon>([name, password](TfrmLogon& form) {
            form.cboUsername->setEditText(name);
            form.txtPassword->setText(password);
            QTest::mouseClick(form.imgLogon, Qt::LeftButton);
        });
    }

    // Entries as a version before 3 wrote them: descriptions and comments in plain text.
    void addEarlierEntries(int majorVersion)
    {
        addUser("Anna", "secret");
        const auto store = openStore();
        if (majorVersion > 0)
            store->WriteInteger("Anna", "MajorVersion", majorVersion);
        else
            store->deleteValues("Anna", {"MajorVersion", "MinorVersion"});
        store->WriteInteger("Anna", "TotalPasswords", 3);
        store->WriteString("Anna", "System1", "Bank");
        store->WriteString("Anna", "Comments1", "PIN in the drawer");
        store->WriteString("Anna", "System2", "Mail");
        store->WriteString("Anna", "System3", "Shop");
        store->WriteString("Anna", "Comments3", "   ");
    }

    int exitCode = -1;
};

TEST_F(StartupTest, TheOptionChoosesTheLogonWindow)
{
    script.form<TfrmLogon>([](TfrmLogon& form) { QTest::mouseClick(form.imgExit, Qt::LeftButton); });
    EXPECT_EQ(start(), nullptr);
    EXPECT_TRUE(session.FancyLogonEnabled);

    writeOption("FancyLogon", "0");
    script.form<TfrmPlainLogon>([](TfrmPlainLogon& form) { form.cmdCancel->click(); });
    EXPECT_EQ(start(), nullptr);
    EXPECT_FALSE(session.FancyLogonEnabled);
}

TEST_F(StartupTest, NoLogonEndsTheProgramWithoutWriting)
{
    addUser("Anna", "secret");
    writeOption("UseLastUsername", "1");
    writeOption("LastUsername", "Anna");
    const auto before = sectionValues("Anna");
    script.form<TfrmLogon>([](TfrmLogon& form) { QTest::mouseClick(form.imgExit, Qt::LeftButton); });
    EXPECT_EQ(start(), nullptr);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(sectionValues("Anna"), before);
    EXPECT_EQ(readOption("LastUsername"), "Anna");
}

TEST_F(StartupTest, ANewUserIsCreatedThenLogsOnAndIsStamped)
{
    script.form<TfrmLogon>([](TfrmLogon& form) {
        QTest::mouseClick(form.imgNew, Qt::LeftButton);
        form.txtPassword->setText(QStringLiteral("secret"));
        QTest::keyClick(form.txtPassword, Qt::Key_Return);
    });
    script.form<TfrmNewUser>([](TfrmNewUser& newUser) {
        newUser.txtUsername->setText(QStringLiteral("Anna"));
        newUser.txtPassword->setText(QStringLiteral("secret"));
        newUser.txtVerify->setText(QStringLiteral("secret"));
        QTest::keyClick(newUser.txtVerify, Qt::Key_Return);
    });
    const auto frmMain = start();
    ASSERT_NE(frmMain, nullptr);
    EXPECT_EQ(frmMain->windowTitle(), QStringLiteral("Keystead - Anna"));
    EXPECT_EQ(session.CurrentUsername, "Anna");
    EXPECT_EQ(session.LogonPassword, "secret");
    EXPECT_EQ(session.ProgramExeName, KEYSTEAD_EXECUTABLE);
    EXPECT_EQ(session.ProgramVersion, "3.4.0.56");
    logonPasswords["Anna"] = "secret";
    const auto store = openStore();
    EXPECT_EQ(store->ReadInteger("Anna", "MajorVersion", 0), 3);
    EXPECT_EQ(store->ReadInteger("Anna", "MinorVersion", 0), 4);
}

// The first start backs up the store; the stamp it writes makes the second one back up again;
// the third finds the store as its newest backup holds it.
TEST_F(StartupTest, ABackupIsTakenAtStartWhenTheStoreChangedSinceTheNewest)
{
    addUser("Anna", "secret");
    for (int run = 0; run < 3; ++run) {
        expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
        ASSERT_NE(start(), nullptr);
    }
    EXPECT_TRUE(script.done());
    EXPECT_EQ(StoreBackups(storeFile).list().size(), 2U);
}

TEST_F(StartupTest, UpgradeDeclinedEndsTheProgramWithNothingWritten)
{
    addEarlierEntries(2);
    const auto before = sectionValues("Anna");
    expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
    script.question(kUpgradeQuestion, MessageResult::No);
    EXPECT_EQ(start(), nullptr);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(script.shown().back().owner, nullptr);
    EXPECT_EQ(sectionValues("Anna"), before);
}

TEST_F(StartupTest, UpgradeEncryptsDescriptionsAndCommentsThenStamps)
{
    addEarlierEntries(0);
    expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
    script.question(kUpgradeQuestion, MessageResult::Yes);
    const auto frmMain = start();
    ASSERT_NE(frmMain, nullptr);

    const auto store = openStore();
    // Sealed in the same transaction as the upgrade and the stamp.
    EXPECT_TRUE(IsSealed(*store, "Anna"));
    EXPECT_NE(session.Seal, nullptr);
    TDiamond diamond;
    diamond.SetKey("secret");
    const auto decrypted = [&](const char* ident) { return diamond.DecryptCipherString(store->ReadString("Anna", ident, "")); };
    EXPECT_EQ(decrypted("System1"), "Bank");
    EXPECT_EQ(decrypted("System2"), "Mail");
    EXPECT_EQ(decrypted("System3"), "Shop");
    EXPECT_EQ(decrypted("Comments1"), "PIN in the drawer");
    EXPECT_EQ(store->ReadString("Anna", "Comments2", "<absent>"), "<absent>");
    EXPECT_EQ(store->ReadString("Anna", "Comments3", ""), "   ");
    EXPECT_EQ(store->ReadInteger("Anna", "MajorVersion", 0), 3);
    EXPECT_EQ(store->ReadInteger("Anna", "MinorVersion", 0), 4);
}

TEST_F(StartupTest, CurrentDataIsNotUpgradedAgain)
{
    addEarlierEntries(3);
    const auto entry = openStore()->ReadString("Anna", "System1", "");
    expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
    EXPECT_NE(start(), nullptr);
    EXPECT_EQ(openStore()->ReadString("Anna", "System1", ""), entry);
}

TEST_F(StartupTest, AnUnreadableVersionBlockStampsTheCompiledVersionSoNoUpgradeComesAgain)
{
    addEarlierEntries(0);
    expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
    script.question(kUpgradeQuestion, MessageResult::Yes);
    ASSERT_NE(start(folder.path() / "no-version-block"), nullptr);
    EXPECT_EQ(session.ProgramVersion, "3.4.0.56");
    EXPECT_EQ(openStore()->ReadInteger("Anna", "MajorVersion", 0), 3);
    EXPECT_EQ(openStore()->ReadInteger("Anna", "MinorVersion", 0), 4);

    // The next logon goes straight on: the descriptions are not encrypted a second time.
    const auto upgraded = sectionValues("Anna");
    expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
    ASSERT_NE(start(folder.path() / "no-version-block"), nullptr);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(openStore()->ReadString("Anna", "System1", ""), upgraded.at("System1"));
}

// A store damaged on purpose comes back with one Yes; No leaves it, and the error, as before.
TEST_F(StartupTest, ADamagedStoreIsRecoveredFromTheNewestBackupWithOneYes)
{
    addUser("Anna", "secret");
    StoreBackups backups(storeFile);
    backups.take();
    {
        std::fstream out(storeFile, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(4096);
        out << std::string(4096, 'U');
    }
    const std::string damaged = readFile(storeFile);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(backups.list().front().time.time_since_epoch());
    const QString question = QStringLiteral("The password store is damaged. Restore the backup of %1?")
                                 .arg(QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds.count()), QLocale::ShortFormat));
    script.question(question, MessageResult::No);
    script.error(QString::fromStdString("The store file '" + storeFile.string() + "' is damaged; it was left unchanged."));
    EXPECT_EQ(start(), nullptr);
    EXPECT_EQ(readFile(storeFile), damaged);

    script.question(question, MessageResult::Yes);
    expectLogon(QStringLiteral("Anna"), QStringLiteral("secret"));
    EXPECT_NE(start(), nullptr);
    EXPECT_TRUE(script.done());
    bool kept = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        kept = kept || (entry.path().filename().string().starts_with("registry.damaged-") &&
                        readFile(entry.path()) == damaged);
    EXPECT_TRUE(kept);
}

TEST_F(StartupTest, AStoreThatCannotBeOpenedIsToldAndLeftAsItWas)
{
    {
        std::ofstream out(storeFile, std::ios::binary);
        out << "these are not the bytes of a store";
    }
    const std::string bytes = readFile(storeFile);
    const std::string text = "The file '" + storeFile.string() + "' is not a Keystead store; it was left unchanged.";
    script.error(QString::fromStdString(text));
    EXPECT_EQ(start(), nullptr);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(readFile(storeFile), bytes);
}

}  // namespace

}  // namespace keystead::test
