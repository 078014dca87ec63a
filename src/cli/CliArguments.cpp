#include "cli/CliArguments.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "store/MainSettings.h"
#include "store/TextRules.h"

namespace keystead::cli {

namespace {

struct CommandRule {
    std::set<std::string_view> options;    // besides --store, --password-stdin and --help
    std::set<std::string_view> required;
    std::string_view operandUsage = {};    // what its one operand is; empty: it takes none
};

const std::map<std::string_view, CommandRule>& commandRules()
{
    static const std::map<std::string_view, CommandRule> rules{
        {"users", {{}, {}}},
        {"list", {{"--user", "--show", "--match"}, {"--user"}}},
        {"show", {{"--user", "--show"}, {"--user"}, "'show' needs one entry: its number or its description"}},
        {"add", {{"--user"}, {"--user"}}},
        {"export", {{"--user", "--out", "--plain"}, {"--user", "--out"}}},
        {"import", {{"--user", "--file", "--overwrite"}, {"--user", "--file"}}},
        {"passwd", {{"--user"}, {"--user"}}},
        {"backups", {{}, {}}},
        {"backup", {{"--out"}, {}}},
        {"restore", {{}, {}, "'restore' needs one backup: its file, or its name as 'backups' lists it"}},
        {"clip", {{"--user", "--username", "--seconds"}, {"--user"}, "'clip' needs one entry: its number or its description"}},
    };
    return rules;
}

// 0 (until Ctrl+C) to the largest count the Options dialog takes.
int secondsValue(const std::string& value)
{
    int seconds = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || seconds < 0 ||
        seconds > kLargestClipboardClearSeconds)
        throw UsageError("--seconds takes a whole number from 0 to " + std::to_string(kLargestClipboardClearSeconds));
    return seconds;
}

bool takesValue(std::string_view option)
{
    return option == "--user" || option == "--store" || option == "--out" || option == "--file" ||
           option == "--match" || option == "--seconds";
}

void setValue(CliArguments& arguments, std::string_view option, const std::string& value)
{
    if (option == "--user")
        arguments.user = trimText(value);
    else if (option == "--store")
        arguments.store = value;
    else if (option == "--out")
        arguments.out = value;
    else if (option == "--match")
        arguments.match = value;
    else if (option == "--seconds")
        arguments.seconds = secondsValue(value);
    else
        arguments.file = value;
}

void setFlag(CliArguments& arguments, std::string_view option)
{
    if (option == "--plain")
        arguments.plain = true;
    else if (option == "--overwrite")
        arguments.overwrite = true;
    else if (option == "--show")
        arguments.show = true;
    else if (option == "--username")
        arguments.username = true;
    else if (option == "--password-stdin")
        arguments.passwordStdin = true;
    else if (option == "--help")
        arguments.help = true;
    else if (option == "--version")
        arguments.version = true;
    else
        throw UsageError("unknown option '" + std::string(option) + "'");
}

void checkAgainstRule(const CliArguments& arguments, const std::vector<std::string_view>& given,
                      const std::vector<std::string>& operands)
{
    const auto rule = commandRules().find(arguments.command);
    if (rule == commandRules().end())
        throw UsageError("unknown command '" + arguments.command + "'");
    static const std::set<std::string_view> common{"--store", "--password-stdin", "--help"};
    for (const std::string_view option : given)
        if (!common.contains(option) && !rule->second.options.contains(option))
            throw UsageError("'" + arguments.command + "' takes no option " + std::string(option));
    if (arguments.help)
        return;
    for (const std::string_view option : rule->second.required)
        if (std::find(given.begin(), given.end(), option) == given.end())
            throw UsageError("'" + arguments.command + "' needs " + std::string(option));
    const std::string_view operandUsage = rule->second.operandUsage;
    if (operands.size() != (operandUsage.empty() ? 0u : 1u))
        throw UsageError(operandUsage.empty() ? "'" + arguments.command + "' takes no operand"
                                              : std::string(operandUsage));
}

}  // namespace

CliArguments ParseArguments(int argc, const char* const* argv)
{
    CliArguments arguments;
    std::vector<std::string_view> given;
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word.starts_with("--")) {
            const std::size_t equals = word.find('=');
            const std::string_view option = word.substr(0, equals);
            given.push_back(option);
            if (!takesValue(option)) {
                if (equals != std::string_view::npos)
                    throw UsageError("option " + std::string(option) + " takes no value");
                setFlag(arguments, option);
            } else if (equals != std::string_view::npos) {
                setValue(arguments, option, std::string(word.substr(equals + 1)));
            } else if (i + 1 < argc) {
                setValue(arguments, option, argv[++i]);
            } else {
                throw UsageError("option " + std::string(option) + " needs a value");
            }
        } else if (arguments.command.empty()) {
            arguments.command = word;
        } else {
            operands.emplace_back(word);
        }
    }
    if (arguments.command.empty()) {
        if (arguments.help || arguments.version)
            return arguments;
        throw UsageError("no command given");
    }
    checkAgainstRule(arguments, given, operands);
    if (!operands.empty())
        arguments.entry = operands.front();
    return arguments;
}

}  // namespace keystead::cli
