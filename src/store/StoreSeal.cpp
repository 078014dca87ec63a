#include "store/StoreSeal.h"

#include <string>

#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/SealCost.h"
#include "store/SealKey.h"
#include "store/SealedBackend.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

namespace keystead {

// The seal lives in the layer every SQLite store is opened with.
struct SealAccess {
    static SealedBackend& of(RegistryStore& store) {
        return static_cast<SealedBackend&>(*store.backend_);
    }
};

namespace {

constexpr std::string_view kWrongPasswordText = "Your password is incorrect.";

SealedBackend& sealOf(RegistryStore& store) {
    return SealAccess::of(store);
}

}  // namespace

bool IsSealed(RegistryStore& store, std::string_view user) {
    return sealOf(store).isSealed(user);
}

void OpenSeal(RegistryStore& store, std::string_view user, std::string_view logonPassword) {
    SealedBackend& backend = sealOf(store);
    auto parameters = backend.storedParameters(user);
    if (!parameters) {
        return;
    }
    // The derivation keeps this thread busy for half a second; the list is read meanwhile.
    backend.readAhead(user);
    backend.useKey(user, std::make_shared<SealKey>(logonPassword, std::move(*parameters)));
    // Every user's section holds MainPassword; under a wrong key it does not open.
    try {
        if (store.hasValue(user, "MainPassword")) {
            return;
        }
    } catch (const DamagedStoreError&) {
    }
    backend.useKey(user, nullptr);
    throw KeysteadError(std::string(kWrongPasswordText));
}

void SealUser(RegistryStore& store, std::string_view user, std::string_view logonPassword) {
    SealUser(store, user, logonPassword, {});
}

void SealUser(RegistryStore& store, std::string_view user, std::string_view logonPassword,
              const Progress& progress) {
    StoreSession session(store);
    SealedBackend& backend = sealOf(store);
    if (backend.isSealed(user) || !backend.sectionExists(user)) {
        return;
    }
    auto key = std::make_shared<SealKey>(logonPassword, calibratedSealParameters());
    backend.sealSection(user, std::move(key), nullptr, progress);
    session.close();
}

void ResealUser(RegistryStore& store, std::string_view user, std::string_view newPassword) {
    StoreSession session(store);
    SealedBackend& backend = sealOf(store);
    auto parameters = backend.storedParameters(user);
    if (!parameters) {
        return;
    }
    parameters->saltHex = newSealSalt();
    auto key = std::make_shared<SealKey>(newPassword, std::move(*parameters));
    backend.sealSection(user, std::move(key), backend.keyOf(user), {});
    session.close();
}

std::shared_ptr<SealKey> OpenedSeal(RegistryStore& store, std::string_view user) {
    return sealOf(store).keyOf(user);
}

void UseSeal(RegistryStore& store, std::string_view user, std::shared_ptr<SealKey> key) {
    if (key) {
        sealOf(store).useKey(user, std::move(key));
    }
}

void ForgetSeal(SessionState& session) noexcept {
    if (session.Seal) {
        session.Seal->wipe();
    }
}

void DeriveSealAgain(SessionState& session) {
    if (session.Seal && session.Seal->wiped()) {
        session.Seal->rederive(session.LogonPassword);
    }
}

}  // namespace keystead
