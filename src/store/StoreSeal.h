#pragma once
// The seal of a user's section: every value but the seal's salt and cost is stored sealed under a
// key that only the logon password derives, slowly and with much memory, so that a copied store
// file costs that much per guess. The Windows registry is not sealed: there nothing is sealed and
// these do nothing.

#include <memory>
#include <string_view>

#include "store/WorkProgress.h"

namespace keystead {

class RegistryStore;
class SealKey;
struct SessionState;

bool IsSealed(RegistryStore&, std::string_view user);
// Derives the seal key and opens the user's section for this RegistryStore; throws KeysteadError
// with the wrong password text when the seal does not open. Does nothing to a section not sealed.
void OpenSeal(RegistryStore&, std::string_view user, std::string_view logonPassword);
// Seals an open section all or nothing; does nothing to a sealed one.
void SealUser(RegistryStore&, std::string_view user, std::string_view logonPassword);
// The same, telling progress (done, total) after each value.
void SealUser(RegistryStore&, std::string_view user, std::string_view logonPassword,
              const Progress& progress);

// Seals the user's section anew under a new salt and newPassword, in the session open now, for
// a change of the logon password. Once that session commits, the key this store used for the
// section holds the new key, for every holder of it; another instance's old key opens nothing.
void ResealUser(RegistryStore&, std::string_view user, std::string_view newPassword);

// The key this store opens the user's section with, to hand to another opening of the store;
// null when none.
std::shared_ptr<SealKey> OpenedSeal(RegistryStore&, std::string_view user);
// Opens the user's section for this store with a key opened before; null does nothing.
void UseSeal(RegistryStore&, std::string_view user, std::shared_ptr<SealKey> key);
// A lock forgets the session's key everywhere it is used; the logon password typed at the
// prompt derives it again before anything is read.
void ForgetSeal(SessionState&) noexcept;
void DeriveSealAgain(SessionState&);

}  // namespace keystead
