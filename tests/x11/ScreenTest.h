#pragma once
// The frame of a test on a real X server: a fresh store in a temporary folder with the user Alice
// (logon password "pw"), a fresh session state, her main window shown and active on request, and
// the watch over the modal windows that open in real modal loops.

#include "../store/TempFolder.h"
#include "ModalWatch.h"
#include "crypto/Diamond.h"
#include "mainwindow/Main.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace keystead::test {

class ScreenTest : public testing::Test {
protected:
    ScreenTest();

    std::unique_ptr<RegistryStore> openStore() const;
    void addUser(const std::string& name, const std::string& password) const;
    void addEntry(const EntryTexts& texts) const;
    void write(const std::string& ident, const std::string& value) const;   // in Alice's section
    std::string stored(const std::string& ident) const;                     // "<absent>" when missing
    std::string decrypted(const std::string& ident) const;

    // Alice's main window, shown, framed by the window manager and active.
    void openMain();
    int rowOf(const QString& caption) const;
    // The middle of a row's Description cell, on the screen.
    QPoint rowPoint(int row) const;
    void selectRow(const QString& caption) const;
    // Minimised, as the window manager sees it.
    static bool iconic(const QWidget& window);

    TempFolder folder;
    const std::filesystem::path storeFile = folder.storeFile();
    SessionState session;
    TDiamond diamond;
    ModalWatch modals;
    std::unique_ptr<TfrmMain> frmMain;
};

}  // namespace keystead::test
