#pragma once
// The version stamp of a user's section, MajorVersion and MinorVersion: the logon takes a section
// without one, holding entries, for data of a version before 3 whose descriptions and comments
// are still to be encrypted.

#include <string_view>

namespace keystead {

class RegistryStore;

// Stamps the version compiled in when the section has no MajorVersion, so that entries written
// before the user's first logon are never encrypted a second time by that upgrade. For writers of
// a section that holds no data of an earlier version: a new user, or one the logon or
// keystead-cli has found needing no upgrade.
void stampVersionWhenAbsent(RegistryStore& store, std::string_view user);

}  // namespace keystead
