// The logon and the password change of a user whose section is sealed: a seal the password does
// not open is a wrong password, and a change seals the section anew so that another opening's old
// key opens and writes nothing.

#include <gtest/gtest.h>

#include "../exchange/UserFixture.h"
#include "session/LogonCheck.h"
#include "session/PasswordChange.h"
#include "store/KeysteadError.h"
#include "store/SealCost.h"
#include "store/SealKey.h"
#include "store/StoreSeal.h"

namespace keystead::test {
namespace {

class SealedLogonTest : public UserFixture {
protected:
    void SetUp() override { useCheapSealCostForTests(); }

    std::optional<LogonRefusal> logOnFresh(const std::string& user, const std::string& password) const {
        TDiamond keyed;
        return CheckLogon(*RegistryStore::OpenFile(folder.storeFile()), user, password, keyed);
    }
};

TEST_F(SealedLogonTest, ASealThePasswordDoesNotOpenIsTheWrongPassword) {
    logOn("Open", "pw");
    logOn("Sealed", "pw", {{"Bank", "me", "secret", "", "", ""}});
    SealUser(*store, "Sealed", "pw");

    const auto open = logOnFresh("Open", "Pw");
    const auto sealed = logOnFresh("Sealed", "Pw");
    ASSERT_TRUE(open && sealed);
    EXPECT_EQ(sealed->message, open->message);
    EXPECT_EQ(sealed->message, kWrongLogonPasswordText);
    EXPECT_EQ(sealed->input, LogonInput::Password);

    const auto fresh = RegistryStore::OpenFile(folder.storeFile());
    TDiamond keyed;
    EXPECT_FALSE(CheckLogon(*fresh, "Sealed", "pw", keyed));
    EXPECT_EQ(fresh->ReadInteger("Sealed", "TotalPasswords", 0), 1);
}

TEST_F(SealedLogonTest, APasswordChangeSealsAnewAndTheOtherOpeningMustLogOnAgain) {
    logOn("Alice", "old", {{"Bank", "me", "secret", "", "", ""}, {"Mail", "", "x", "note", "", ""}});
    SealUser(*store, "Alice", "old");
    state.Seal = OpenedSeal(*store, "Alice");
    const auto other = RegistryStore::OpenFile(folder.storeFile());
    ASSERT_FALSE(logOnFresh("Alice", "old"));
    OpenSeal(*other, "Alice", "old");
    const std::string saltBefore = store->ReadString("Alice", "SealSalt", "");

    ChangeLogonPassword(*store, state, "new");
    EXPECT_NE(store->ReadString("Alice", "SealSalt", ""), saltBefore);
    EXPECT_EQ(plainEntries("new").size(), 2u);
    EXPECT_EQ(OpenedSeal(*store, "Alice"), state.Seal);

    try {
        other->ReadString("Alice", "System1", "");
        FAIL() << "the old key still reads";
    } catch (const SealChangedError& error) {
        EXPECT_STREQ(error.what(), "The logon password was changed in another window. Please log on again.");
    }
    EXPECT_THROW(other->WriteString("Alice", "LastUsed", "1.1.2000"), SealChangedError);
    EXPECT_EQ(logOnFresh("Alice", "old")->message, kWrongLogonPasswordText);
    EXPECT_FALSE(logOnFresh("Alice", "new"));
    EXPECT_FALSE(store->hasValue("Alice", "LastUsed"));
}

}  // namespace
}  // namespace keystead::test
