#pragma once
// Long lists of independent work, split over the machine's two cores: opening sealed values,
// decrypting the list's texts.

#include <cstddef>
#include <future>

namespace keystead {

// Runs work(from, to) over [0, count): from threshold on, the second half on a thread of its own.
// An exception from either half comes out here once both halves have ended.
template <class Work>
void InTwoHalves(std::size_t count, std::size_t threshold, const Work& work)
{
    if (count < threshold) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t half = count / 2;
    auto secondHalf = std::async(std::launch::async, [&work, half, count] { work(half, count); });
    work(std::size_t{0}, half);
    secondHalf.get();
}

}  // namespace keystead
