#pragma once

// What a value converter sees of the channel being converted.
struct ConversionContext
{
    int channel = 0;
    int subIndex = 0;
    int sourceValue = 0;   // the source parameter's value at this channel
    // Position of subIndex within the target's sub-index range; a converter
    // reading another parameter reads that parameter's sub-index at the same
    // position, so parameters with different sub-index bases line up.
    int subOffset = 0;
};

// One step of a converter tree: turns the previous result into the next.
// Returns false when the channel must write nothing.
class IValueConverter
{
public:
    virtual ~IValueConverter() = default;
    virtual bool Convert(const ConversionContext& context, int input, int& output) = 0;
};
