#include "host/CopyValueConverter.h"

CopyValueConverter::CopyValueConverter() = default;

CopyValueConverter::~CopyValueConverter() = default;

bool CopyValueConverter::Convert(const ConversionContext&, int input, int& output)
{
    output = input;
    return true;
}
