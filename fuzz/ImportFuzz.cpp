// Feeds arbitrary files to the import: it must never crash or hang, and the store must stay as it
// was unless the import returned normally. Inputs with an odd first byte get a valid head (version
// line and check token for the file password), so that the count and the entries are explored too.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "crypto/Diamond.h"
#include "exchange/ExportFile.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

namespace {

using namespace keystead;

constexpr const char* kUser = "Fuzz";
constexpr const char* kFilePassword = "file pw";

struct Rollback {};

struct Setting {
    std::filesystem::path folder;
    std::unique_ptr<RegistryStore> store;
    SessionState state;
    std::string head;

    Setting() {
        std::string pattern = (std::filesystem::temp_directory_path() / "keystead-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            __builtin_trap();
        }
        folder = pattern;
        store = RegistryStore::OpenFile(folder / "registry.sqlite");
        TDiamond logon;
        logon.SetKey("logon pw");
        store->CreateUser(kUser, logon.EncryptToCipherString(kUser));
        store->writeValues(kUser, {{"TotalPasswords", "1"},
                                   {"System1", logon.EncryptToCipherString("kept")},
                                   {"Password1", logon.EncryptToCipherString("pw")}});
        state.CurrentUsername = kUser;
        state.LogonPassword = "logon pw";
        state.PasswordCount = 1;
        TDiamond file;
        file.SetKey(kFilePassword);
        head = "VERSION 3.0.0\r\n" + file.EncryptToCipherString("Keystead") + "\r\n";
    }
};

Setting& setting() {
    static Setting s;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Setting& s = setting();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 1U) != 0) {
        bytes = s.head + bytes.substr(1);
    }
    const auto file = s.folder / "import.txt";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    const auto before = s.store->readSectionValues(kUser);
    try {
        // The outer session undoes a successful import, so that every input meets the same list.
        StoreSession outer(*s.store);
        SessionState state = s.state;
        try {
            ImportExportFile(*s.store, state, file, kFilePassword,
                             (size > 1 && (data[1] & 1U) != 0) ? ImportMode::Overwrite : ImportMode::Add);
        } catch (const KeysteadError&) {
            const auto after = s.store->readSectionValues(kUser);
            if (after.size() != before.size()) {
                __builtin_trap();
            }
            for (std::size_t i = 0; i < after.size(); ++i) {
                if (after[i].ident != before[i].ident || after[i].value != before[i].value) {
                    __builtin_trap();
                }
            }
            if (state.PasswordCount != s.state.PasswordCount) {
                __builtin_trap();
            }
        }
        throw Rollback{};
    } catch (const Rollback&) {
    }
    return 0;
}
