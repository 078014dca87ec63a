#pragma once
// When the program locks, as rules on times and states alone: after a number of minutes without
// input to its windows, and, when asked while a command's work runs, only once that work has ended.

#include <chrono>

namespace keystead {

// The time since the last keyboard or mouse input to any of the program's windows.
class IdleWatch {
public:
    using Instant = std::chrono::steady_clock::time_point;

    explicit IdleWatch(Instant start) : lastInput_(start) {}
    void input(Instant at) { lastInput_ = at; }
    // Minutes without input have passed; 0 minutes never pass.
    bool expired(Instant now, int minutes) const;

private:
    Instant lastInput_;
};

// A lock asked for while a command's work runs (an export, an import, a password change, a print,
// any open store session) waits until the work has ended; one asked for while locked changes
// nothing.
class LockState {
public:
    // Asked for, or asked again while waiting; true when the lock takes effect now.
    bool request(bool workRunning);
    void unlock() { phase_ = Phase::Open; }
    bool locked() const { return phase_ == Phase::Locked; }
    bool waiting() const { return phase_ == Phase::Waiting; }

private:
    enum class Phase { Open, Waiting, Locked };
    Phase phase_ = Phase::Open;
};

}  // namespace keystead
