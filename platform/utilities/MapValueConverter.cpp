#include "host/MapValueConverter.h"

MapValueConverter::MapValueConverter(const std::map<int, int>& map, bool passUnknown)
    : m_map(map)
    , m_passUnknown(passUnknown)
{
}

MapValueConverter::~MapValueConverter() = default;

bool MapValueConverter::Convert(const ConversionContext&, int input, int& output)
{
    const auto found = m_map.find(input);
    if (found != m_map.end()) {
        output = found->second;
        return true;
    }
    if (!m_passUnknown)
        return false;
    output = input;
    return true;
}
