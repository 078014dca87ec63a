#pragma once
// How far the progress bar (0 to 100) moves per entry of a whole-list operation.

namespace keystead {

// The export's step: 100 / count rounded to the nearest whole number, halves to even.
constexpr int roundedProgressStep(int count) {
    if (count <= 0) {
        return 0;
    }
    const int quotient = 100 / count;
    const int twiceRemainder = 2 * (100 % count);
    if (twiceRemainder > count || (twiceRemainder == count && quotient % 2 == 1)) {
        return quotient + 1;
    }
    return quotient;
}

// The import's and the password change's step: 100 / count truncated (0 above 100 entries).
constexpr int truncatedProgressStep(int count) {
    return count <= 0 ? 0 : 100 / count;
}

}  // namespace keystead
