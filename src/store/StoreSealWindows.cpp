// The Windows registry keeps the values as they always were: nothing there is sealed.

#include "store/StoreSeal.h"

namespace keystead {

bool IsSealed(RegistryStore&, std::string_view) {
    return false;
}

void OpenSeal(RegistryStore&, std::string_view, std::string_view) {}

void SealUser(RegistryStore&, std::string_view, std::string_view) {}

void SealUser(RegistryStore&, std::string_view, std::string_view, const Progress&) {}

void ResealUser(RegistryStore&, std::string_view, std::string_view) {}

std::shared_ptr<SealKey> OpenedSeal(RegistryStore&, std::string_view) {
    return nullptr;
}

void UseSeal(RegistryStore&, std::string_view, std::shared_ptr<SealKey>) {}

void ForgetSeal(SessionState&) noexcept {}

void DeriveSealAgain(SessionState&) {}

}  // namespace keystead
