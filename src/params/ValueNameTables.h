#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct ValueNameEntry {
    std::int32_t value;
    char text[32];
};

// Binds a text-valued parameter name to one of the value-name tables.
struct ValueNameBinding {
    const char* name;
    std::int32_t table;
};

// Translation between the host's integers and the editor's text values.
// Each table is SlotsPerTable slots: used entries, a terminator entry whose
// value is the "not found" answer for text lookups, then zeroed slots.
class ValueNameTables {
public:
    static constexpr int TableCount = 18;
    static constexpr int SlotsPerTable = 100;
    static constexpr std::size_t BindingCount = 109;

    // Text of the terminator entry: "null_terminated_string".
    static const char* const Terminator;

    // BindingCount rows.
    static const ValueNameBinding* bindings();
    // SlotsPerTable slots of table `number`; null for a number outside 0..TableCount-1.
    static const ValueNameEntry* table(int number);

    // Text standing for `value` of parameter `name`; null when the name has
    // no binding or its table has no entry for the value.
    static const char* FindValueName(const std::string& name, int value);
    // Value standing for the UTF-8 `text`; the table's terminator value when
    // the text is unknown, 0 when the name has no binding.
    static int FindValueByName(const std::string& name, const std::string& text);
};
