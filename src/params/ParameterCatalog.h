#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One addressable KX9 parameter. The name is an MMS path whose channel
// element carries no index; subMin always equals subMax.
struct CatalogEntry {
    const char* name;
    std::int32_t id;
    std::int32_t channelMin;
    std::int32_t channelMax;
    std::int32_t subMin;
    std::int32_t subMax;
};

// The fixed list of KX9 parameters the host can address. Constant data,
// scanned linearly; names are unique and compared as exact byte strings.
class ParameterCatalog {
public:
    static constexpr std::size_t Size = 1710;

    // Size rows, no terminator.
    static const CatalogEntry* entries();
    // Null when no row has exactly this name.
    static const CatalogEntry* find(const std::string& name);
    // -1 when no row has exactly this name.
    static int FindParameterId(const std::string& name);
};
