#include "GuiTest.h"

#include "crypto/Diamond.h"
#include "store/StoreSeal.h"

namespace keystead::test {

std::unique_ptr<RegistryStore> GuiTest::openStore() const
{
    auto store = RegistryStore::OpenFile(storeFile);
    for (const auto& [user, password] : logonPasswords)
        OpenSeal(*store, user, password);
    return store;
}

void GuiTest::addUser(const std::string& name, const std::string& password)
{
    logonPasswords[name] = password;
    TDiamond diamond;
    diamond.SetKey(password);
    openStore()->CreateUser(name, diamond.EncryptToCipherString(name));
}

void GuiTest::logOnAliceWith(const std::vector<EntryTexts>& entries)
{
    addUser("Alice", "pw");
    session.CurrentUsername = "Alice";
    session.LogonPassword = "pw";
    TDiamond diamond;
    diamond.SetKey("pw");
    const auto store = openStore();
    SessionState writer = session;
    EntryStore list(*store, writer);
    for (const EntryTexts& texts : entries)
        list.append(diamond, texts);
}

void GuiTest::writeOption(const std::string& ident, const std::string& value) const
{
    openStore()->WriteString("Options", ident, value);
}

std::string GuiTest::readOption(const std::string& ident, const std::string& def) const
{
    return openStore()->ReadString("Options", ident, def);
}

std::map<std::string, std::string> GuiTest::sectionValues(const std::string& section) const
{
    std::map<std::string, std::string> values;
    for (const StoredValue& value : openStore()->readSectionValues(section))
        values.emplace(value.ident, value.value);
    return values;
}

}  // namespace keystead::test
