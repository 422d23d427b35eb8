#pragma once

#include <vector>

struct ConversionContext;

// A gate of a converter tree. `dependencies` holds the values of the tree's
// dependencies at the current channel, in the order they were added.
class IFilter
{
public:
    virtual ~IFilter() = default;
    virtual bool Pass(const ConversionContext& context, const std::vector<int>& dependencies) const = 0;
};
