#include "host/CopyPasteValueWithTableConverter.h"

#include <cstdint>
#include <iterator>

CopyPasteValueWithTableConverter::CopyPasteValueWithTableConverter(const std::string& targetName,
                                                                   const std::string& sourceName,
                                                                   IMixer* targetMixer, IMixer* sourceMixer,
                                                                   const std::map<int, int>* table)
    : m_targetName(targetName)
    , m_sourceName(sourceName)
    , m_targetMixer(targetMixer)
    , m_sourceMixer(sourceMixer)
    , m_table(table)
{
}

CopyPasteValueWithTableConverter::~CopyPasteValueWithTableConverter() = default;

bool CopyPasteValueWithTableConverter::Convert(const ConversionContext&, int input, int& output)
{
    return Lookup(m_table, input, output);
}

bool CopyPasteValueWithTableConverter::Lookup(const std::map<int, int>* table, int key, int& value)
{
    if (!table || table->empty())
        return false;
    auto above = table->lower_bound(key);
    if (above != table->end() && above->first == key) {
        value = above->second;
        return true;
    }
    if (above == table->begin()) {
        value = above->second;
        return true;
    }
    auto below = std::prev(above);
    if (above == table->end()) {
        value = below->second;
        return true;
    }
    const std::int64_t toBelow = static_cast<std::int64_t>(key) - below->first;
    const std::int64_t toAbove = static_cast<std::int64_t>(above->first) - key;
    value = toAbove < toBelow ? above->second : below->second;
    return true;
}
