#pragma once

#include <cstddef>
#include <cstdint>

struct ValuePair {
    std::int32_t key;
    std::int32_t value;
};

// The constant (key, value) pairs of the converter factory's value tables
// T0..T9, keys ascending.
class ValueTableData {
public:
    static constexpr int TableCount = 10;

    // The pairs of table `number` and their count; null and 0 for a number
    // outside 0..TableCount-1.
    static const ValuePair* pairs(int number, std::size_t& count);
};
