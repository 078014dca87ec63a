#include "store/VersionStamp.h"

#include "store/RegistryStore.h"

namespace keystead {

void stampVersionWhenAbsent(RegistryStore& store, std::string_view user) {
    if (store.hasValue(user, "MajorVersion")) {
        return;
    }
    store.writeValues(user, {{"MajorVersion", std::to_string(KEYSTEAD_VERSION_MAJOR)},
                             {"MinorVersion", std::to_string(KEYSTEAD_VERSION_MINOR)}});
}

}  // namespace keystead
