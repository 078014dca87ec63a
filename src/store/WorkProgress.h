#pragma once
// How a whole-list operation tells its caller how far it has come: after each entry, the number
// done so far and the number in all. The caller may throw from it to break the work off.

#include <functional>

namespace keystead {

using Progress = std::function<void(int done, int total)>;

}  // namespace keystead
