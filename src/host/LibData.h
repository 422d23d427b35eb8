#pragma once

#include <cstdint>

// One datum the host cached in the mixer (CacheCurrentData). The mixer owns
// `data` (malloc'd) and frees it when the mixer is destroyed.
struct LibData
{
    std::int32_t kind;
    std::int32_t index;
    std::uint32_t size;
    void* data;
};
