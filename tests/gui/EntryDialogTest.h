#pragma once
// The frame of the entry dialog tests: the user Alice logged on with the password "pw", her
// entries written as the dialogs write them, and her main window over the test's store.

#include "GuiTest.h"
#include "crypto/Diamond.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "store/EntryStore.h"

#include <QAbstractItemModel>
#include <QStringList>
#include <QTableView>

#include <memory>
#include <string>

namespace keystead::test {

class EntryDialogTest : public GuiTest {
protected:
    EntryDialogTest()
    {
        addUser("Alice", "pw");
        session.CurrentUsername = "Alice";
        session.LogonPassword = "pw";
        diamond.SetKey("pw");
    }

    void addEntry(const EntryTexts& texts) const
    {
        SessionState writer = session;
        EntryStore(*openStore(), writer).append(diamond, texts);
    }

    void write(const std::string& ident, const std::string& value) const
    {
        openStore()->WriteString("Alice", ident, value);
    }

    std::string stored(const std::string& ident) const { return openStore()->ReadString("Alice", ident, "<absent>"); }
    std::string decrypted(const std::string& ident) const { return diamond.DecryptCipherString(stored(ident)); }
    std::map<std::string, std::string> aliceValues() const { return sectionValues("Alice"); }

    // Alice's values but the remembered position of a dialog.
    std::map<std::string, std::string> valuesWithout(const std::string& positionName) const
    {
        auto values = aliceValues();
        values.erase(positionName + "WindowLeft");
        values.erase(positionName + "WindowTop");
        return values;
    }

    void openMain() { frmMain = std::make_unique<TfrmMain>(session, storeFile); }

    int rowCount() const { return frmMain->lvPasswords->details().model()->rowCount(); }

    // The four columns of a row as the list shows them.
    QStringList rowTexts(int row) const
    {
        const QAbstractItemModel& model = *frmMain->lvPasswords->details().model();
        QStringList texts;
        for (int column = 0; column < 4; ++column)
            texts << model.index(row, column).data().toString();
        return texts;
    }

    void selectRow(const QString& caption) const
    {
        for (int row = 0; row < rowCount(); ++row)
            if (rowTexts(row).front() == caption)
                frmMain->lvPasswords->selectRow(row);
        ASSERT_TRUE(frmMain->selectedItem().has_value()) << caption.toStdString();
    }

    template <typename Form>
    std::unique_ptr<Form> openDialog()
    {
        auto dialog = std::make_unique<Form>(session, frmMain->store(), *frmMain, frmMain.get());
        dialog->show();
        return dialog;
    }

    TDiamond diamond;
    std::unique_ptr<TfrmMain> frmMain;
};

}  // namespace keystead::test
