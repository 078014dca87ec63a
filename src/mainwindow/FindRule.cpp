#include "mainwindow/FindRule.h"

namespace keystead {

FindScope FindScopeFor(bool showPasswordsOn, bool showSystem, bool showComments)
{
    return {showPasswordsOn || showSystem, showPasswordsOn, showPasswordsOn || showComments};
}

bool FindMatches(const FindTexts& texts, FindScope scope, std::string_view foldedFind)
{
    const auto contains = [foldedFind](bool searched, std::string_view text) {
        return searched && text.find(foldedFind) != std::string_view::npos;
    };
    return foldedFind.empty() || contains(scope.description, texts.description) ||
           contains(scope.username, texts.username) || contains(scope.comments, texts.comments);
}

std::string FindCountText(int shown, int total)
{
    return std::to_string(shown) + " of " + std::to_string(total) +
           (total == 1 ? " password in list" : " passwords in list");
}

}  // namespace keystead
