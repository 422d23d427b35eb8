#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

#include <map>

// Looks the previous result up in its own copy of a map. A key the map
// lacks passes through unchanged when `passUnknown` is true; otherwise the
// channel writes nothing.
class UTILITIES_API MapValueConverter : public IValueConverter
{
public:
    MapValueConverter(const std::map<int, int>& map, bool passUnknown);
    ~MapValueConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;

private:
    std::map<int, int> m_map;
    bool m_passUnknown;
};
