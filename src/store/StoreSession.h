#pragma once
// One opening of the store by a handler. Sessions nest: the outermost is one transaction, begun
// at once (waiting up to the busy time-out for another instance), committed when it ends normally
// and rolled back when it is left by an exception. An inner session is a part of it that is
// undone alone when an exception leaves it.
//
// A commit that fails is never lost: close() commits and throws KeysteadError on failure, and the
// destructor does the same when close() was not called, unless it runs during stack unwinding,
// when it rolls back and stays silent. Sessions end in the reverse order of their beginning.

#include <exception>

namespace keystead {

class RegistryStore;

class StoreSession {
public:
    explicit StoreSession(RegistryStore& store);
    ~StoreSession() noexcept(false);
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

    // Ends the session now, committing its work; lets a handler report a failed commit and show
    // its messages only after the transaction has ended.
    void close();

private:
    RegistryStore* store_;   // null once ended
    int uncaughtAtStart_;
};

}  // namespace keystead
