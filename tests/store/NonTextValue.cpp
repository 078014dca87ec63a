#include "NonTextValue.h"

#include "RawDatabase.h"

namespace keystead::test {

void putNonTextValue(const std::filesystem::path& store, const std::string& section,
                     const std::string& ident) {
    RawDatabase(store).exec("UPDATE section_values SET value = x'0102' WHERE ident = '" + ident +
                            "' AND section_id = (SELECT id FROM sections WHERE name = '" +
                            section + "')");
}

}  // namespace keystead::test
