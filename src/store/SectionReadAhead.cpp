#include "store/SectionReadAhead.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "store/TextRules.h"

namespace keystead {

namespace {

struct Kept {
    StoreFileState state;
    std::vector<StoredValue> values;
};

using Key = std::pair<std::filesystem::path, std::string>;

// Section names compare as the store compares them: ASCII letters without their case.
Key keyOf(const std::filesystem::path& file, std::string_view section) {
    std::string name;
    name.reserve(section.size());
    for (const char c : section) {
        name += lowerAscii(c);
    }
    return {file, std::move(name)};
}

std::mutex keptMutex;
std::map<Key, Kept>& kept() {
    static std::map<Key, Kept> sections;
    return sections;
}

}  // namespace

void KeepReadAhead(const std::filesystem::path& file, std::string_view section, const StoreFileState& state,
                   std::vector<StoredValue> values) {
    const std::lock_guard lock(keptMutex);
    kept()[keyOf(file, section)] = Kept{state, std::move(values)};
}

std::optional<std::vector<StoredValue>> TakeReadAhead(const std::filesystem::path& file, std::string_view section) {
    std::optional<Kept> taken;
    {
        const std::lock_guard lock(keptMutex);
        const auto found = kept().find(keyOf(file, section));
        if (found == kept().end()) {
            return std::nullopt;
        }
        taken = std::move(found->second);
        kept().erase(found);
    }
    if (!(StoreFileState::Of(file) == taken->state)) {
        return std::nullopt;
    }
    return std::move(taken->values);
}

}  // namespace keystead
