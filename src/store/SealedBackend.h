#pragma once
// The layer above the SQLite backend that seals users' sections: every value of a sealed section
// but its salt and cost is stored sealed under the user's seal key, opened for this store by the
// logon. Callers above see the values as if nothing were sealed.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/RegistryBackend.h"
#include "store/SealKey.h"
#include "store/WorkProgress.h"

namespace keystead {

class SealedBackend final : public RegistryStore::Backend {
public:
    // damagedText is what a value whose seal does not open under the right key is reported as.
    SealedBackend(std::unique_ptr<RegistryStore::Backend> inner, std::string damagedText);

    void beginSession() override;
    void endSession(bool commit) override;
    std::optional<std::string> readValue(std::string_view section, std::string_view ident) override;
    bool sectionExists(std::string_view section) override;
    std::vector<std::string> readSections() override;
    std::vector<StoredValue> readSectionValues(std::string_view section) override;
    std::vector<std::string> readIdents(std::string_view section) override;
    void writeValues(std::string_view section, const std::vector<StoredValue>& values) override;
    void deleteValues(std::string_view section, const std::vector<std::string>& idents) override;
    std::int64_t changeCounter() override;
    void readAhead(std::string_view section) override;

    bool isSealed(std::string_view section);
    // The stored parameters of a sealed section; none when it is not sealed.
    std::optional<SealParameters> storedParameters(std::string_view section);
    // Uses key for the section from now on; null forgets the section's key.
    void useKey(std::string_view section, std::shared_ptr<SealKey> key);
    std::shared_ptr<SealKey> keyOf(std::string_view section) const;
    // Inside a session: rewrites every value of the section sealed under key (the section open
    // now, or not sealed at all) and stores key's parameters. The key is this store's for the
    // section at once; when the outermost session commits, replaced (when given) takes it over,
    // so that every holder of the old key has the new one; a rollback forgets it.
    void sealSection(std::string_view section, std::shared_ptr<SealKey> key,
                     std::shared_ptr<SealKey> replaced, const Progress& progress);

private:
    struct OpenSection {
        std::string name;   // as asked, compared without regard to letter case
        std::shared_ptr<SealKey> key;
    };
    struct PendingSeal {
        int depth;
        OpenSection section;
        std::shared_ptr<SealKey> replaced;
    };

    // The key for the section, or null when it is not open here. A section sealed but not open
    // here (sealed by another instance since) is refused.
    const SealKey* usableKey(std::string_view section);
    // Before anything is written or deleted under key: the stored salt must still be its own.
    void requireCurrent(std::string_view section, const SealKey& key);
    std::string opened(std::string_view section, const SealKey& key, const StoredValue& stored);
    void openAll(std::string_view section, const SealKey& key, std::vector<StoredValue>& values);
    void applyPending();

    std::unique_ptr<RegistryStore::Backend> inner_;
    std::string damagedText_;
    std::vector<OpenSection> open_;
    std::vector<PendingSeal> pending_;
    int depth_ = 0;
};

// The values of a sealed section that are stored open.
bool isSealParameter(std::string_view ident);

}  // namespace keystead
