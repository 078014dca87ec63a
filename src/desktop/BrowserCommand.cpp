#include "desktop/BrowserCommand.h"

namespace keystead {

std::string browserCommandLine(std::string_view registeredCommand, std::string_view url) {
    std::size_t cut = registeredCommand.find("\"%1\"");
    if (cut == std::string_view::npos) {
        cut = registeredCommand.find("%1");
    }
    std::string command(registeredCommand.substr(0, cut));
    command += ' ';
    command += url;
    return command;
}

}  // namespace keystead
