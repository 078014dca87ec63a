#include "mainwindow/LockRules.h"

namespace keystead {

bool IdleWatch::expired(Instant now, int minutes) const
{
    return minutes > 0 && now - lastInput_ >= std::chrono::minutes(minutes);
}

bool LockState::request(bool workRunning)
{
    if (phase_ == Phase::Locked)
        return false;
    phase_ = workRunning ? Phase::Waiting : Phase::Locked;
    return phase_ == Phase::Locked;
}

}  // namespace keystead
