#pragma once
// The one-time upgrade of a user's section written by program versions before 3, which kept the
// descriptions and comments of the entries in plain text.

#include <functional>
#include <string_view>

namespace keystead {

class RegistryStore;
class TDiamond;

// Whether a section with this MajorVersion (default 0) and this many entries needs it.
bool needsUpgrade(int majorVersion, int entryCount);

// Encrypts System<n> (also when empty) and Comments<n> (when its trimmed text is not empty, as
// stored) for every entry present (EntryStore::count), under the cipher the caller keyed.
// progress is told (done, total) after each entry. All or nothing: a store failure or an
// exception from progress leaves every value as it was, so a later run never encrypts a value
// twice. Run it in one StoreSession together with the version stamp that follows it.
void upgradeEarlierData(RegistryStore& store, std::string_view user, const TDiamond& diamond,
                        const std::function<void(int done, int total)>& progress);

}  // namespace keystead
