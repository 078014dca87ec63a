#include "store/SealedBackend.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "store/KeysteadError.h"
#include "store/TextRules.h"
#include "store/TwoHalves.h"

namespace keystead {

namespace {

constexpr std::string_view kOptionsSection = "Options";
constexpr std::string_view kSaltIdent = "SealSalt";
constexpr std::string_view kOpsIdent = "SealOps";
constexpr std::string_view kMemoryIdent = "SealMemory";
// Below this, starting a thread costs more than it saves.
constexpr std::size_t kValuesForTwoCores = 2000;

std::optional<std::uint64_t> parseCount(const std::optional<std::string>& text) {
    if (!text || text->empty() || text->size() > 19 ||
        !std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoull(*text);
}

}  // namespace

bool isSealParameter(std::string_view ident) {
    return equalsIgnoringCase(ident, kSaltIdent) || equalsIgnoringCase(ident, kOpsIdent) ||
           equalsIgnoringCase(ident, kMemoryIdent);
}

SealedBackend::SealedBackend(std::unique_ptr<RegistryStore::Backend> inner, std::string damagedText)
    : inner_(std::move(inner)), damagedText_(std::move(damagedText)) {}

void SealedBackend::beginSession() {
    inner_->beginSession();
    ++depth_;
}

// A seal made inside a session holds only once the outermost session has committed it.
void SealedBackend::endSession(bool commit) {
    const int depth = depth_--;
    if (!commit) {
        std::erase_if(pending_, [depth](const PendingSeal& seal) { return seal.depth >= depth; });
    }
    for (auto& seal : pending_) {
        seal.depth = std::min(seal.depth, depth - 1);
    }
    if (depth > 1) {
        inner_->endSession(commit);
        return;
    }
    auto pending = std::exchange(pending_, {});
    inner_->endSession(commit);
    if (commit) {
        pending_ = std::move(pending);
        applyPending();
    }
}

void SealedBackend::applyPending() {
    for (auto& [depth, section, replaced] : std::exchange(pending_, {})) {
        if (replaced) {
            replaced->takeFrom(*section.key);
            section.key = replaced;
        }
        useKey(section.name, section.key);
    }
}

bool SealedBackend::isSealed(std::string_view section) {
    return inner_->readValue(section, kSaltIdent).has_value();
}

std::optional<SealParameters> SealedBackend::storedParameters(std::string_view section) {
    auto salt = inner_->readValue(section, kSaltIdent);
    if (!salt) {
        return std::nullopt;
    }
    const auto ops = parseCount(inner_->readValue(section, kOpsIdent));
    const auto memory = parseCount(inner_->readValue(section, kMemoryIdent));
    if (!ops || !memory) {
        throw DamagedStoreError(damagedText_);
    }
    return SealParameters{std::move(*salt), *ops, *memory};
}

void SealedBackend::useKey(std::string_view section, std::shared_ptr<SealKey> key) {
    std::erase_if(open_, [section](const OpenSection& each) {
        return equalsIgnoringCase(each.name, section);
    });
    if (key) {
        open_.push_back({std::string(section), std::move(key)});
    }
}

std::shared_ptr<SealKey> SealedBackend::keyOf(std::string_view section) const {
    for (auto seal = pending_.rbegin(); seal != pending_.rend(); ++seal) {
        if (equalsIgnoringCase(seal->section.name, section)) {
            return seal->section.key;
        }
    }
    for (const auto& each : open_) {
        if (equalsIgnoringCase(each.name, section)) {
            return each.key;
        }
    }
    return nullptr;
}

const SealKey* SealedBackend::usableKey(std::string_view section) {
    if (equalsIgnoringCase(section, kOptionsSection)) {
        return nullptr;
    }
    const auto key = keyOf(section);
    if (!key && isSealed(section)) {
        throw SealChangedError();
    }
    return key.get();
}

void SealedBackend::requireCurrent(std::string_view section, const SealKey& key) {
    if (inner_->readValue(section, kSaltIdent) != key.parameters().saltHex) {
        throw SealChangedError();
    }
}

// A value that does not open is damage, unless the section has been sealed anew meanwhile.
std::string SealedBackend::opened(std::string_view section, const SealKey& key,
                                  const StoredValue& stored) {
    auto text = key.open(section, stored.ident, stored.value);
    if (!text) {
        requireCurrent(section, key);
        throw DamagedStoreError(damagedText_);
    }
    return std::move(*text);
}

std::optional<std::string> SealedBackend::readValue(std::string_view section,
                                                    std::string_view ident) {
    auto value = inner_->readValue(section, ident);
    if (!value || isSealParameter(ident)) {
        return value;
    }
    const SealKey* const key = usableKey(section);
    if (!key) {
        return value;
    }
    return opened(section, *key, {std::string(ident), std::move(*value)});
}

bool SealedBackend::sectionExists(std::string_view section) {
    return inner_->sectionExists(section);
}

std::vector<std::string> SealedBackend::readSections() {
    return inner_->readSections();
}

std::vector<StoredValue> SealedBackend::readSectionValues(std::string_view section) {
    auto values = inner_->readSectionValues(section);
    std::erase_if(values, [](const StoredValue& value) { return isSealParameter(value.ident); });
    if (values.empty()) {
        return values;
    }
    if (const SealKey* const key = usableKey(section)) {
        openAll(section, *key, values);
    }
    return values;
}

// Opening is most of the time a long list takes to read: the second half opens on another core.
// Each value becomes its text in its own room; the list is not handed on unless every value
// opened.
void SealedBackend::openAll(std::string_view section, const SealKey& key,
                            std::vector<StoredValue>& values) {
    std::atomic<bool> allOpened = true;
    InTwoHalves(values.size(), kValuesForTwoCores, [&](std::size_t from, std::size_t to) {
        for (auto index = from; index < to && allOpened; ++index) {
            if (!key.openInPlace(section, values[index].ident, values[index].value)) {
                allOpened = false;
            }
        }
    });
    if (!allOpened) {
        requireCurrent(section, key);
        throw DamagedStoreError(damagedText_);
    }
}

std::vector<std::string> SealedBackend::readIdents(std::string_view section) {
    auto idents = inner_->readIdents(section);
    std::erase_if(idents, [](const std::string& ident) { return isSealParameter(ident); });
    return idents;
}

void SealedBackend::writeValues(std::string_view section, const std::vector<StoredValue>& values) {
    const SealKey* const key = usableKey(section);
    if (!key) {
        inner_->writeValues(section, values);
        return;
    }
    requireCurrent(section, *key);
    std::vector<StoredValue> sealed;
    sealed.reserve(values.size());
    for (const auto& [ident, value] : values) {
        // A value written again unchanged keeps its bytes: sealed anew under a fresh nonce it
        // would make an unchanged store look changed (the start-up's backup looks for that).
        const auto stored = inner_->readValue(section, ident);
        if (!stored || key->open(section, ident, *stored) != value) {
            sealed.push_back({ident, key->seal(section, ident, value)});
        }
    }
    inner_->writeValues(section, sealed);
}

void SealedBackend::deleteValues(std::string_view section, const std::vector<std::string>& idents) {
    if (const SealKey* const key = usableKey(section)) {
        requireCurrent(section, *key);
    }
    inner_->deleteValues(section, idents);
}

std::int64_t SealedBackend::changeCounter() {
    return inner_->changeCounter();
}

// What is read ahead is the section as stored, sealed: it opens only when it is read.
void SealedBackend::readAhead(std::string_view section) {
    inner_->readAhead(section);
}

void SealedBackend::sealSection(std::string_view section, std::shared_ptr<SealKey> key,
                                std::shared_ptr<SealKey> replaced, const Progress& progress) {
    const SealKey* const current = usableKey(section);
    if (current) {
        requireCurrent(section, *current);
    }
    auto values = inner_->readSectionValues(section);
    std::erase_if(values, [](const StoredValue& value) { return isSealParameter(value.ident); });
    const int total = static_cast<int>(values.size());
    int done = 0;
    for (auto& value : values) {
        const std::string text = current ? opened(section, *current, value) : value.value;
        value.value = key->seal(section, value.ident, text);
        if (progress) {
            progress(++done, total);
        }
    }
    const SealParameters& parameters = key->parameters();
    values.push_back({std::string(kSaltIdent), parameters.saltHex});
    values.push_back({std::string(kOpsIdent), std::to_string(parameters.ops)});
    values.push_back({std::string(kMemoryIdent), std::to_string(parameters.memory)});
    inner_->writeValues(section, values);
    pending_.push_back({depth_, {std::string(section), std::move(key)}, std::move(replaced)});
}

}  // namespace keystead
