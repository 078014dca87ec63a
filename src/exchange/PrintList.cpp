#include "exchange/PrintList.h"

#include "crypto/Diamond.h"
#include "store/RegistryStore.h"
#include "store/TextRules.h"

namespace keystead {
namespace {

// Comments keep their lines as typed; only CR LF becomes the printout's line break.
std::string withLfBreaks(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    return lines;
}

}  // namespace

Printout BuildPrintout(RegistryStore& store, const std::string& user, const TDiamond& cipher,
                       const std::vector<PrintItem>& items, const std::string& stamp)
{
    Printout printout{"Password list for: " + user, "     [" + stamp + "]\n"};
    for (const PrintItem& item : items) {
        printout.body += "\nDesc.: " + item.description + ",  Username: " +
                         (item.username.empty() ? std::string("[None]") : item.username) +
                         ",  Password: " + item.password;
        const std::string comments =
            cipher.DecryptCipherString(store.ReadString(user, "Comments" + std::to_string(item.entryNumber), ""));
        if (!trimText(comments).empty()) {
            printout.body += '\n';
            printout.body += withLfBreaks(comments);
        }
        printout.body += "\n--------------------";
    }
    return printout;
}

}  // namespace keystead
