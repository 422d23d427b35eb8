#pragma once

#include <cstdint>
#include <limits>

// Results of the arithmetic converters stay inside the int range instead of
// overflowing.
inline int saturateToInt(std::int64_t value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
