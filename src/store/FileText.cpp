#include "store/FileText.h"

#include <system_error>

namespace keystead {

std::string quoted(const std::filesystem::path& file) {
    std::string text(1, '\'');
    text += file.string();
    text += '\'';
    return text;
}

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

}  // namespace keystead
