#include "NonTextValue.h"

#include <windows.h>

#include <stdexcept>

namespace keystead::test {

void putNonTextValue(const std::filesystem::path& store, const std::string& section,
                     const std::string& ident) {
    const auto key = store / section;
    const BYTE bytes[] = {1, 2};
    if (RegSetKeyValueA(HKEY_CURRENT_USER, key.string().c_str(), ident.c_str(), REG_BINARY, bytes,
                        sizeof bytes) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot put a binary value");
    }
}

}  // namespace keystead::test
