#pragma once
// Lets a test refuse the Windows store's writes to the registry, the one at a given position or
// every one from there on (as when the process ends there), to show what a commit broken off
// half-way leaves. Nothing in the program sets it; every write of the store asks it first.

namespace keystead::registryFault {

enum class Refuse { Once, FromThenOn };

// Counts the writes from now on, from 1; the one at position is refused, and with FromThenOn
// every later one too.
void refuseWriteAt(int position, Refuse how);
void stopRefusing();
// Whether a write was refused since refuseWriteAt.
bool refused();

// For the store: counts one write and tells whether it is refused.
bool refuseThisWrite();

}  // namespace keystead::registryFault
