#include "store/StoreSession.h"

#include <utility>

#include "store/RegistryStore.h"

namespace keystead {

StoreSession::StoreSession(RegistryStore& store)
    : store_(&store), uncaughtAtStart_(std::uncaught_exceptions()) {
    store.beginSession();
}

StoreSession::~StoreSession() noexcept(false) {
    if (store_ != nullptr && std::uncaught_exceptions() > uncaughtAtStart_) {
        std::exchange(store_, nullptr)->endSession(false);
    } else {
        close();
    }
}

void StoreSession::close() {
    if (store_ != nullptr) {
        std::exchange(store_, nullptr)->endSession(true);
    }
}

}  // namespace keystead
