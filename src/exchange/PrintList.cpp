#include "exchange/PrintList.h"

#include "crypto/Diamond.h"

#include <algorithm>

namespace keystead {
namespace {

// Comments keep their lines as typed; only CR LF becomes the printout's line break.
void appendWithLfBreaks(std::string& printed, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            AppendSecret(printed, std::string_view(&text[i], 1));
}

// Nothing left once the characters with codes 0 to 32 are removed from both ends.
bool isBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

}  // namespace

PrintItem::~PrintItem()
{
    for (std::string* text : {&description, &username, &password})
        WipeText(*text);
}

Printout BuildPrintout(const std::string& user, const TDiamond& cipher, const std::vector<PrintItem>& items,
                       const std::string& stamp)
{
    Printout printout{SecretText("Password list for: " + user), SecretText("     [" + stamp + "]\n")};
    std::string& body = printout.body.get();
    for (const PrintItem& item : items) {
        for (const std::string_view part :
             {std::string_view("\nDesc.: "), std::string_view(item.description), std::string_view(",  Username: "),
              item.username.empty() ? std::string_view("[None]") : std::string_view(item.username),
              std::string_view(",  Password: "), std::string_view(item.password)})
            AppendSecret(body, part);
        const SecretText comments(cipher.DecryptCipherString(item.comments));
        if (!isBlank(comments.get())) {
            AppendSecret(body, "\n");
            appendWithLfBreaks(body, comments.get());
        }
        AppendSecret(body, "\n--------------------");
    }
    return printout;
}

}  // namespace keystead
