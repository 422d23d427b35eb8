#pragma once

#include <cstddef>
#include <string>

// A KX9 target parameter name and the TORVAN source parameter feeding it.
struct NameRemapRow {
    const char* target;
    const char* source;
};

// Constant target -> source name pairs, scanned linearly; targets are unique.
class NameRemapTable {
public:
    static constexpr std::size_t Size = 1709;

    static const NameRemapRow* rows();
    // Source name for exactly this target name (same length, same bytes);
    // null when absent, leaving the answer to the converter library.
    static const char* Lookup(const std::string& targetName);
};
