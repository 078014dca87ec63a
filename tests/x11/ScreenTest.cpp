#include "ScreenTest.h"

#include "XInput.h"

#include "mainwindow/PasswordListModel.h"
#include "mainwindow/PasswordListView.h"

#include <QProcess>
#include <QTableView>
#include <QTest>

namespace keystead::test {

ScreenTest::ScreenTest()
{
    addUser("Alice", "pw");
    session.CurrentUsername = "Alice";
    session.LogonPassword = "pw";
    diamond.SetKey("pw");
}

std::unique_ptr<RegistryStore> ScreenTest::openStore() const
{
    return RegistryStore::OpenFile(storeFile);
}

void ScreenTest::addUser(const std::string& name, const std::string& password) const
{
    TDiamond keyed;
    keyed.SetKey(password);
    openStore()->CreateUser(name, keyed.EncryptToCipherString(name));
}

void ScreenTest::addEntry(const EntryTexts& texts) const
{
    SessionState writer = session;
    EntryStore(*openStore(), writer).append(diamond, texts);
}

void ScreenTest::write(const std::string& ident, const std::string& value) const
{
    openStore()->WriteString("Alice", ident, value);
}

std::string ScreenTest::stored(const std::string& ident) const
{
    return openStore()->ReadString("Alice", ident, "<absent>");
}

std::string ScreenTest::decrypted(const std::string& ident) const
{
    return diamond.DecryptCipherString(stored(ident));
}

void ScreenTest::openMain()
{
    frmMain = std::make_unique<TfrmMain>(session, storeFile);
    frmMain->show();
    frmMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frmMain.get(), 5000));
    ASSERT_TRUE(waitForInputFocus(*frmMain));
}

int ScreenTest::rowOf(const QString& caption) const
{
    const PasswordListModel& model = frmMain->listModel();
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.index(row, 0).data().toString() == caption)
            return row;
    ADD_FAILURE() << "no row " << caption.toStdString();
    return -1;
}

QPoint ScreenTest::rowPoint(int row) const
{
    const QTableView& view = frmMain->lvPasswords->details();
    const QRect cell = view.visualRect(frmMain->listModel().index(row, 0));
    return view.viewport()->mapToGlobal(cell.center());
}

void ScreenTest::selectRow(const QString& caption) const
{
    frmMain->lvPasswords->selectRow(rowOf(caption));
    frmMain->lvPasswords->details().setFocus();
}

bool ScreenTest::iconic(const QWidget& window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window.winId()), QStringLiteral("WM_STATE")});
    return xprop.waitForFinished(10000) && xprop.readAllStandardOutput().contains("Iconic");
}

}  // namespace keystead::test
