// Feeds arbitrary bytes to the reading of an export file, in memory and apart from the store: it
// must never crash or hang, and what it accepts is wholly read. Inputs with an odd first byte get
// a valid head (version line and check token for the file password), so that the count and the
// entries are explored too; an even second byte makes that head the earlier form's. Whether a
// refused file leaves the store untouched is the unit tests' to show, on a store on disk.

#include <cstddef>
#include <cstdint>
#include <string>

#include "crypto/Diamond.h"
#include "exchange/ExportFileReader.h"
#include "store/KeysteadError.h"

namespace {

using namespace keystead;

struct Setting {
    TDiamond fileCipher;   // keyed once: the key schedule costs more than a whole parse
    std::string currentHead;
    std::string earlierHead;

    Setting() {
        fileCipher.SetKey("file pw");
        const std::string token = fileCipher.EncryptToCipherString(kExportCheckText);
        currentHead = std::string(kExportVersionLine) + "\r\n" + token + "\r\n";
        earlierHead = "VERSION 2\r\n" + token + "\r\n";
    }
};

const Setting& setting() {
    static const Setting s;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Setting& s = setting();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 1 && (data[0] & 1U) != 0) {
        bytes = ((data[1] & 1U) != 0 ? s.currentHead : s.earlierHead) + bytes.substr(2);
    }
    try {
        if (ReadExportFile(bytes, s.fileCipher).empty()) {
            __builtin_trap();   // a list that is accepted holds at least one entry
        }
    } catch (const KeysteadError&) {
    }
    return 0;
}
