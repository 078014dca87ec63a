#pragma once
// The sectioned key/value store that keeps everything between runs: sections, idents, every value
// a string; names compare without regard to letter case. The build chooses where it is kept: one
// SQLite file, or on Windows the registry, a key below HKEY_CURRENT_USER standing for the file.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystead {

struct StoredValue {
    std::string ident;
    std::string value;
};

class RegistryStore {
public:
    class Backend;   // where the sections are kept: the SQLite file or the registry key

    // How long an operation waits for another running instance to finish its session.
    static constexpr std::chrono::milliseconds kBusyTimeout{3000};

    // Opens (creating folder and file as needed) the store kept in this file. A file that is no
    // store or is damaged is refused with a KeysteadError naming it, and left as it was. On
    // Windows the file is the path of the store's key below HKEY_CURRENT_USER, created when
    // missing; the registry makes nobody wait, so the time-out has no use there.
    static std::unique_ptr<RegistryStore> OpenFile(const std::filesystem::path& file);
    static std::unique_ptr<RegistryStore> OpenFile(const std::filesystem::path& file,
                                                   std::chrono::milliseconds busyTimeout);
#ifndef _WIN32
    // Opens the store in this file only where it is one already: a missing file or folder and an
    // empty file are refused with a KeysteadError naming the file, and nothing is created. For the
    // command-line tool, which exists only beside a POSIX terminal.
    static std::unique_ptr<RegistryStore> OpenExistingFile(const std::filesystem::path& file);
#endif
    // $XDG_DATA_HOME/Vorrent/Keystead/registry.sqlite; on Windows Software\Vorrent\Keystead.
    static std::filesystem::path DefaultFile();

    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const std::filesystem::path& file() const { return file_; }
    // Whether a file of this name is the store itself or a file it keeps beside it, which no
    // other writer may replace. Never on Windows, where the store is a registry key.
    bool isStoreFile(const std::filesystem::path& candidate) const;

    // A missing section or value reads as def, and so does an integer text that is not wholly
    // an integer (see parseInteger); a boolean is an integer, any non-zero one true. Writing
    // creates the section. A write outside any StoreSession is its own transaction. Failures
    // throw KeysteadError with the store's texts ("Failed to set data for '%s'" ...).
    std::string ReadString(std::string_view section, std::string_view ident, std::string_view def);
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    int  ReadInteger(std::string_view section, std::string_view ident, int def);
    void WriteInteger(std::string_view section, std::string_view ident, int value);
    bool ReadBool(std::string_view section, std::string_view ident, bool def);
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    void DeleteValue(std::string_view section, std::string_view ident);
    bool hasValue(std::string_view section, std::string_view ident);
    std::vector<std::string> ReadSections();   // case-insensitive alphabetical order

    // Every section but "Options", in the order of ReadSections.
    std::vector<std::string> readUsers();
    // True for an existing section in any letter case, and for "Options", which is no user's.
    bool UserExists(std::string_view name);
    // Creates the user's section holding mainPassword (a cipher string) and the version stamp, in
    // one transaction.
    // Refuses an unacceptable name and a name that exists in any letter case.
    void CreateUser(std::string_view name, std::string_view mainPassword);
    // A user name must not be empty nor hold a backslash or a character with a code from 0 to
    // 31 or 127; such names could not be told apart from key paths or shown in a list.
    static bool isAcceptableUserName(std::string_view name);
    static constexpr std::string_view kUnacceptableUserNameText =
        "A username cannot be empty or contain a backslash or a control character.";
    static constexpr std::string_view kUserExistsText =
        "The username you entered already exists. Please choose another name.";

    // All values of a section in one read, ordered by ident; empty when the section is missing.
    std::vector<StoredValue> readSectionValues(std::string_view section);
    // The idents of a section without their values, ordered; empty when the section is missing.
    std::vector<std::string> readIdents(std::string_view section);
    // Many writes or deletes in one section, atomic together.
    void writeValues(std::string_view section, const std::vector<StoredValue>& values);
    void deleteValues(std::string_view section, const std::vector<std::string>& idents);

    // A number that changes whenever another opening of the store (another running program) has
    // committed a change since it was last read; what is committed through this one leaves it as
    // it is. Where the store cannot tell, it never changes.
    std::int64_t changeCounter();
    bool sessionOpen() const { return sessionDepth_ > 0; }

    // Runs work once the outermost session open now has committed, or at once when none is open;
    // a session rolled back drops what was handed to it. What is shown of the store then shows
    // only what the store kept.
    void afterCommit(std::function<void()> work);

private:
    friend class StoreSession;
    friend struct SealAccess;   // the seal of users' sections, in the SQLite build's backend

    struct PendingWork {
        int depth;   // the session it was handed to
        std::function<void()> work;
    };

    RegistryStore(std::filesystem::path file, std::unique_ptr<Backend> backend);

    void beginSession();
    void endSession(bool commit);   // throws only when commit is true

    std::optional<std::string> readValue(std::string_view section, std::string_view ident);
    bool sectionExists(std::string_view section);

    std::filesystem::path file_;
    std::unique_ptr<Backend> backend_;
    int sessionDepth_ = 0;
    std::vector<PendingWork> afterCommit_;
};

}  // namespace keystead
