#pragma once
// The frame of a form test: a fresh store in a temporary folder, a fresh session state, and the
// script that answers message boxes and drives modal forms.

#include "../store/TempFolder.h"
#include "DialogScript.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace keystead::test {

class GuiTest : public testing::Test {
protected:
    // The store with the sections of the users in logonPasswords opened where they are sealed.
    std::unique_ptr<RegistryStore> openStore() const;

    // A user as the new-user dialog creates one: MainPassword is the name encrypted under the
    // password; not sealed, as before the seal existed.
    void addUser(const std::string& name, const std::string& password);
    // Alice, logged on in the session with "pw", her list holding these entries in this order.
    void logOnAliceWith(const std::vector<EntryTexts>& entries);
    void writeOption(const std::string& ident, const std::string& value) const;
    std::string readOption(const std::string& ident, const std::string& def = "<absent>") const;
    // Ident to value, every value of the section.
    std::map<std::string, std::string> sectionValues(const std::string& section) const;

    // The logon password of each user the test made or had a form make.
    std::map<std::string, std::string> logonPasswords;
    TempFolder folder;
    const std::filesystem::path storeFile = folder.storeFile();
    SessionState session;
    DialogScript script;
};

}  // namespace keystead::test
