#include "cli/EntryCommands.h"

#include <chrono>
#include <csignal>
#include <ostream>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/CliLogon.h"
#include "cli/CliOutput.h"
#include "cli/SelectionText.h"
#include "cli/SignalPipe.h"
#include "cli/TextInput.h"
#include "cli/X11ClipboardOwner.h"
#include "entries/EntryValidation.h"
#include "mainwindow/FindRule.h"
#include "mainwindow/PasswordListReader.h"
#include "store/CaseFolding.h"
#include "store/EntryStore.h"
#include "store/KeysteadError.h"
#include "store/MainSettings.h"
#include "store/StoreSession.h"
#include "store/TextRules.h"

namespace keystead::cli {

namespace {

constexpr std::string_view kLogonPrompt = "Password: ";
constexpr std::string_view kVerifyMismatchText = "The password and verify password do not match.";

// The decrypted rows of one command, wiped when it ends.
class DecryptedRows {
public:
    explicit DecryptedRows(std::vector<PasswordRow> rows) : rows_(std::move(rows)) {}
    ~DecryptedRows()
    {
        for (PasswordRow& row : rows_) {
            WipeText(row.description);
            WipeText(row.username);
            WipeText(row.password);
        }
    }
    DecryptedRows(const DecryptedRows&) = delete;
    DecryptedRows& operator=(const DecryptedRows&) = delete;
    const std::vector<PasswordRow>& get() const { return rows_; }

private:
    std::vector<PasswordRow> rows_;
};

// Every column decrypted, in the order the user's list shows, without counting expiry down:
// only the window's first load of a run does that.
std::vector<PasswordRow> sortedRows(CliLogon& logon)
{
    PasswordListContent content = ReadPasswordList(logon.store(), logon.state(), logon.diamond(), {true, true},
                                                   std::nullopt);
    const MainSettings settings = ReadMainSettings(logon.store(), logon.state().CurrentUsername, "");
    SortPasswordRows(content.rows, settings.sortColumn);
    return std::move(content.rows);
}

// Find's rule as the window applies it with every text shown; passwords are never searched.
bool matchesFind(const TDiamond& diamond, const PasswordRow& row, const std::string& foldedMatch)
{
    if (foldedMatch.empty())
        return true;
    const SecretText description(FoldCase(row.description));
    const SecretText username(FoldCase(row.username));
    const SecretText comments(FoldCase(SecretText(diamond.DecryptCipherString(row.stored.comments)).get()));
    return FindMatches({description.get(), username.get(), comments.get()}, FindScope{}, foldedMatch);
}

// The rows an operand names: the entry of that number, or every description equal to it
// without regard to case.
std::vector<const PasswordRow*> matchingRows(const std::vector<PasswordRow>& rows, const std::string& entry)
{
    std::vector<const PasswordRow*> found;
    const std::optional<int> number = parseInteger(entry);
    for (const PasswordRow& row : rows)
        if ((number && entry.find_first_not_of("0123456789") == std::string::npos && row.entryNumber == *number) ||
            equalsIgnoringCase(row.description, entry))
            found.push_back(&row);
    return found;
}

void printRow(const CliOutput& out, const PasswordRow& row, bool withPassword)
{
    out.stream() << row.entryNumber << '\t' << out.shown(row.description) << '\t' << out.shown(row.username);
    if (withPassword)
        out.stream() << '\t' << out.shown(row.password);
    out.stream() << '\n';
}

// The comments keep their line breaks as stored; a terminal wants bare line feeds.
std::string terminalLines(std::string text)
{
    std::erase(text, '\r');
    return text;
}

const PasswordRow& onlyMatch(const std::vector<PasswordRow>& rows, const std::string& entry, const CliOutput& err)
{
    const std::vector<const PasswordRow*> found = matchingRows(rows, entry);
    if (found.empty())
        throw KeysteadError("No entry is numbered or described '" + entry + "'.");
    if (found.size() > 1) {
        for (const PasswordRow* row : found)
            printRow(err, *row, false);
        throw KeysteadError(std::to_string(found.size()) + " entries match '" + entry +
                            "'; name one by its number.");
    }
    return *found.front();
}

// Holds the text on the clipboard for the seconds (0: until a signal), telling on err what
// happens. Returns the signal that ended the hold, 0 when none did.
int holdOnClipboard(X11ClipboardOwner& owner, const SelectionText& text, int seconds, std::ostream& err)
{
    const SignalPipe signals;
    owner.take(text);
    if (seconds > 0)
        err << "Clipboard clears in " << seconds << " s; Ctrl+C clears it now.\n";
    else
        err << "Ctrl+C clears the clipboard.\n";
    err.flush();
    const HoldEnd end = owner.hold(std::chrono::seconds(seconds), signals.readEnd());
    err << (end == HoldEnd::Taken ? "Another program copied meanwhile; its text stays.\n" : "Clipboard cleared\n");
    return end == HoldEnd::Signalled ? signals.received() : 0;
}

// clip up to the end of the hold; every secret is wiped when it returns.
int clipUntilCleared(const CliArguments& arguments, const TextInput& input, const CliOutput& err)
{
    X11ClipboardOwner owner;   // no display: said before any password is asked
    const SecretText password = input.askPassword(kLogonPrompt);
    CliLogon logon(arguments, password.get());
    const DecryptedRows rows(sortedRows(logon));
    const PasswordRow& row = onlyMatch(rows.get(), arguments.entry, err);
    const int seconds = arguments.seconds >= 0
                            ? arguments.seconds
                            : ReadMainSettings(logon.store(), logon.state().CurrentUsername, "").clipboardClearSeconds;
    const SelectionText text(arguments.username ? row.username : row.password);
    // A running Keystead waits for the tool's store session: it ends before the wait does.
    logon.close();
    return holdOnClipboard(owner, text, seconds, err.stream());
}

}  // namespace

void RunUsers(const CliArguments& arguments, const CliOutput& out)
{
    const auto store = OpenStore(arguments);
    StoreSession session(*store);
    const std::vector<std::string> users = store->readUsers();
    session.close();
    for (const std::string& user : users)
        out.stream() << out.shown(user) << '\n';
}

void RunList(const CliArguments& arguments, const TextInput& input, const CliOutput& out)
{
    const SecretText password = input.askPassword(kLogonPrompt);
    CliLogon logon(arguments, password.get());
    const DecryptedRows rows(sortedRows(logon));
    logon.close();
    const std::string match = FoldCase(arguments.match);
    for (const PasswordRow& row : rows.get())
        if (matchesFind(logon.diamond(), row, match))
            printRow(out, row, arguments.show);
}

void RunShow(const CliArguments& arguments, const TextInput& input, const CliOutput& out, const CliOutput& err)
{
    const SecretText password = input.askPassword(kLogonPrompt);
    CliLogon logon(arguments, password.get());
    const DecryptedRows rows(sortedRows(logon));
    const PasswordRow& row = onlyMatch(rows.get(), arguments.entry, err);
    const StoredEntry stored = EntryStore(logon.store(), logon.state()).read(row.entryNumber);
    const SecretText comments(logon.diamond().DecryptCipherString(stored.comments));
    logon.close();
    std::ostream& stream = out.stream();
    stream << "Number: " << row.entryNumber << "\nDescription: " << out.shown(row.description)
           << "\nUsername: " << out.shown(row.username) << '\n';
    if (arguments.show)
        stream << "Password: " << out.shown(row.password) << '\n';
    if (!row.expiration.empty())
        stream << "Expiration: " << row.expiration << '\n';
    const SecretText commentLines(terminalLines(comments.get()));
    stream << "Comments:\n" << out.shownLines(commentLines.get());
    if (!comments.get().empty())
        stream << '\n';
}

void RunClip(const CliArguments& arguments, const TextInput& input, const CliOutput& err)
{
    const int signalNumber = clipUntilCleared(arguments, input, err);
    if (signalNumber == 0)
        return;
    // Ended by the signal itself once the clipboard is clear, so that whoever started the tool
    // (a shell running a script) learns why.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

void RunAdd(const CliArguments& arguments, const TextInput& input, std::ostream& out)
{
    const SecretText password = input.askPassword(kLogonPrompt);
    const SecretText description = input.askLine("Description: ");
    const SecretText username = input.askLine("Username: ");
    const SecretText entryPassword = input.askPassword("Entry password: ");
    const SecretText verify = input.askPassword("Verify entry password: ");
    const SecretText comments = input.askLine("Comments: ");
    if (trimText(entryPassword.get()) != trimText(verify.get()))
        throw KeysteadError(std::string(kVerifyMismatchText));
    const EntryTexts typed{description.get(), username.get(), entryPassword.get(), comments.get(), "", ""};
    const EntryCheck check = CheckEntryTexts(typed, false, kNoSystemNameText);
    if (check.refusal)
        throw KeysteadError(std::string(check.refusal->message));
    CliLogon logon(arguments, password.get());
    const int number = EntryStore(logon.store(), logon.state()).append(logon.diamond(), check.texts);
    logon.close();
    out << number << '\n';
}

}  // namespace keystead::cli
