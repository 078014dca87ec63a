#pragma once
// The frame of a form test: a fresh store in a temporary folder, a fresh session state, and the
// script that answers message boxes and drives modal forms.

#include "../store/TempFolder.h"
#include "DialogScript.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace keystead::test {

class GuiTest : public testing::Test {
protected:
    std::unique_ptr<RegistryStore> openStore() const;

    // A user as the new-user dialog creates one: MainPassword is the name encrypted under the
    // password.
    void addUser(const std::string& name, const std::string& password) const;
    void writeOption(const std::string& ident, const std::string& value) const;
    std::string readOption(const std::string& ident, const std::string& def = "<absent>") const;
    // Ident to value, every value of the section.
    std::map<std::string, std::string> sectionValues(const std::string& section) const;

    TempFolder folder;
    const std::filesystem::path storeFile = folder.storeFile();
    SessionState session;
    DialogScript script;
};

}  // namespace keystead::test
