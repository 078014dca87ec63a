#include "cli/CliHelp.h"

#include <map>
#include <string_view>

namespace keystead::cli {

namespace {

constexpr std::string_view kToolHelp = R"(Usage: keystead-cli COMMAND [OPTION]...
Use the Keystead password store from a terminal or a script.

Commands:
  users                                  list the users of the store
  list --user NAME [--show] [--match TEXT]
                                         list the entries in the order of the user's list
  show --user NAME [--show] ENTRY        show one entry, by number or description
  add --user NAME                        add an entry
  export --user NAME --out FILE [--plain]
                                         write the export file
  import --user NAME --file FILE [--overwrite]
                                         read an encrypted export file
  passwd --user NAME                     change the logon password
  clip --user NAME [--username] [--seconds N] ENTRY
                                         copy an entry's password to the clipboard for a while
  backups                                list the backups of the store
  backup [--out FILE]                    take a backup of the store now
  restore BACKUP                         restore a backup into the store

Options for every command:
      --store FILE       use this store file instead of the one Keystead uses; it must exist
      --password-stdin   read each password asked as one line of standard input
      --help             show the help of the tool or of a command
      --version          show the version

Passwords are read from the terminal without echo, or with --password-stdin from standard
input (without echo too where that is a terminal); never from the command line or the
environment. An answer is one line of at most 64 KiB. Every command works in one session
of the store and waits for a running Keystead to finish its own. At a terminal, control
characters in stored texts are shown as \xNN escapes; into a file or a pipe every byte is
written as stored.

A backup of the store is taken before import and passwd change a whole list; when it fails,
the command goes on and says so on standard error. Backups are kept in the folder backups/
beside the store file.

Exit status: 0 done, 1 refused (wrong password, failed check, damaged file, busy store),
2 wrong usage. Messages go to standard error.
)";

const std::map<std::string, std::string_view>& commandHelp()
{
    static const std::map<std::string, std::string_view> help{
        {"users", "Usage: keystead-cli users [--store FILE]\nList the users of the store, one a line.\n"},
        {"list", "Usage: keystead-cli list --user NAME [--show] [--match TEXT] [--store FILE] [--password-stdin]\n"
                 "List number, description and user name of each entry, tab-separated, in the order\n"
                 "of the user's list. --show adds the passwords. --match lists only the entries whose\n"
                 "description, user name or comments contain TEXT, in any letter case.\n"},
        {"show", "Usage: keystead-cli show --user NAME [--show] [--store FILE] [--password-stdin] ENTRY\n"
                 "Show one entry with its comments and expiry. ENTRY is its number or its description\n"
                 "(any letter case); several matches are listed and refused. --show adds the password.\n"},
        {"add", "Usage: keystead-cli add --user NAME [--store FILE] [--password-stdin]\n"
                "Ask for the logon password, then description, user name, the entry's password twice\n"
                "and comments, and add the entry; its number is printed.\n"},
        {"export", "Usage: keystead-cli export --user NAME --out FILE [--plain] [--store FILE] [--password-stdin]\n"
                   "Write the user's list to FILE, encrypted under the logon password, or with --plain\n"
                   "in plain text, which cannot be imported.\n"},
        {"import", "Usage: keystead-cli import --user NAME --file FILE [--overwrite] [--store FILE]\n"
                   "                           [--password-stdin]\n"
                   "Ask for the logon password and the password the file was written with, and add\n"
                   "the file's entries to the list, or with --overwrite replace the list.\n"},
        {"passwd", "Usage: keystead-cli passwd --user NAME [--store FILE] [--password-stdin]\n"
                   "Ask for the old password and the new one twice, and re-encrypt everything.\n"},
        {"backups", "Usage: keystead-cli backups [--store FILE]\n"
                    "List the backups that pass their check, newest first: name, local time, size in bytes\n"
                    "and users, tab-separated.\n"},
        {"backup", "Usage: keystead-cli backup [--out FILE] [--store FILE]\n"
                   "Take a backup of the whole store now into the backup folder, or with --out into FILE,\n"
                   "and print where it was written.\n"},
        {"restore", "Usage: keystead-cli restore [--store FILE] BACKUP\n"
                    "Back up the present store, then replace it with BACKUP: a file, or a name that\n"
                    "'backups' lists. Refused while another running Keystead keeps the store busy.\n"},
        {"clip", "Usage: keystead-cli clip --user NAME [--username] [--seconds N] [--store FILE]\n"
                 "                         [--password-stdin] ENTRY\n"
                 "Copy the entry's password, or with --username its user name, to the X clipboard,\n"
                 "marked for clipboard managers as a password; never to the primary selection. Wait\n"
                 "the user's clipboard time (Options, Security) or N seconds (0 to 999; 0 waits for\n"
                 "Ctrl+C), clear the clipboard if it still holds the copy, and exit. Ctrl+C clears it\n"
                 "at once; a copy by another program ends the wait and stays. Without an X display\n"
                 "it says so and exits with status 1.\n"},
    };
    return help;
}

}  // namespace

std::string HelpText(const std::string& command)
{
    const auto found = commandHelp().find(command);
    return std::string(found == commandHelp().end() ? kToolHelp : found->second);
}

std::string VersionText()
{
    return "keystead-cli " KEYSTEAD_VERSION "\n";
}

}  // namespace keystead::cli
