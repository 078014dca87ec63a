#include "store/RegistryStore.h"

#include <algorithm>
#include <utility>

#include "store/KeysteadError.h"
#include "store/RegistryBackend.h"
#include "store/StoreSession.h"
#include "store/TextRules.h"
#include "store/VersionStamp.h"

namespace keystead {

namespace {

constexpr std::string_view kOptionsSection = "Options";

}  // namespace

RegistryStore::RegistryStore(std::filesystem::path file, std::unique_ptr<Backend> backend)
    : file_(std::move(file)), backend_(std::move(backend)) {}

RegistryStore::~RegistryStore() = default;

void RegistryStore::beginSession() {
    backend_->beginSession();
    ++sessionDepth_;
}

void RegistryStore::endSession(bool commit) {
    const int depth = sessionDepth_--;
    // The work of a session undone is dropped; a part that ends well hands its work to the
    // session around it, to wait for the outermost commit.
    if (!commit) {
        std::erase_if(afterCommit_, [depth](const PendingWork& pending) { return pending.depth >= depth; });
    }
    for (auto& pending : afterCommit_) {
        pending.depth = std::min(pending.depth, depth - 1);
    }
    if (depth > 1) {
        backend_->endSession(commit);
        return;
    }
    // Taken first: a commit that fails drops them with the transaction.
    auto pending = std::exchange(afterCommit_, {});
    backend_->endSession(commit);
    for (auto& each : pending) {
        each.work();
    }
}

std::int64_t RegistryStore::changeCounter() {
    return backend_->changeCounter();
}

void RegistryStore::afterCommit(std::function<void()> work) {
    if (sessionDepth_ == 0) {
        work();
    } else {
        afterCommit_.push_back({sessionDepth_, std::move(work)});
    }
}

std::optional<std::string> RegistryStore::readValue(std::string_view section,
                                                    std::string_view ident) {
    return backend_->readValue(section, ident);
}

bool RegistryStore::sectionExists(std::string_view section) {
    return backend_->sectionExists(section);
}

std::string RegistryStore::ReadString(std::string_view section, std::string_view ident,
                                      std::string_view def) {
    auto value = readValue(section, ident);
    return value ? std::move(*value) : std::string(def);
}

void RegistryStore::WriteString(std::string_view section, std::string_view ident,
                                std::string_view value) {
    writeValues(section, {{std::string(ident), std::string(value)}});
}

int RegistryStore::ReadInteger(std::string_view section, std::string_view ident, int def) {
    const auto text = readValue(section, ident);
    return text ? parseInteger(*text).value_or(def) : def;
}

void RegistryStore::WriteInteger(std::string_view section, std::string_view ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

bool RegistryStore::ReadBool(std::string_view section, std::string_view ident, bool def) {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void RegistryStore::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool RegistryStore::hasValue(std::string_view section, std::string_view ident) {
    return readValue(section, ident).has_value();
}

void RegistryStore::DeleteValue(std::string_view section, std::string_view ident) {
    deleteValues(section, {std::string(ident)});
}

std::vector<std::string> RegistryStore::ReadSections() {
    return backend_->readSections();
}

std::vector<std::string> RegistryStore::readUsers() {
    auto names = ReadSections();
    std::erase_if(names, [](const std::string& name) {
        return equalsIgnoringCase(name, kOptionsSection);
    });
    return names;
}

bool RegistryStore::UserExists(std::string_view name) {
    return equalsIgnoringCase(name, kOptionsSection) || sectionExists(name);
}

bool RegistryStore::isAcceptableUserName(std::string_view name) {
    return isAcceptableSectionName(name);
}

void RegistryStore::CreateUser(std::string_view name, std::string_view mainPassword) {
    if (!isAcceptableUserName(name)) {
        throw KeysteadError(std::string(kUnacceptableUserNameText));
    }
    StoreSession session(*this);
    // Writing into an existing section would take the logon of the user who owns it.
    if (UserExists(name)) {
        throw KeysteadError(std::string(kUserExistsText));
    }
    writeValues(name, {{"MainPassword", std::string(mainPassword)}});
    stampVersionWhenAbsent(*this, name);
}

std::vector<StoredValue> RegistryStore::readSectionValues(std::string_view section) {
    return backend_->readSectionValues(section);
}

std::vector<std::string> RegistryStore::readIdents(std::string_view section) {
    return backend_->readIdents(section);
}

void RegistryStore::writeValues(std::string_view section, const std::vector<StoredValue>& values) {
    StoreSession session(*this);
    backend_->writeValues(section, values);
}

void RegistryStore::deleteValues(std::string_view section, const std::vector<std::string>& idents) {
    StoreSession session(*this);
    backend_->deleteValues(section, idents);
}

bool isAcceptableSectionName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return c == '\\' || code < 32 || code == 127;
    });
}

}  // namespace keystead
