#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

#include <memory>

class IMixer;
class IParameter;
class BoundParameter;

// Lets the previous result through only when `mixer`'s value of `parameter` at
// the converted channel equals `typeNumber`; otherwise nothing is written.
// Owns `parameter` from the moment of construction, also when construction
// throws; a null mixer or parameter throws a ConverterException pointer.
class UTILITIES_API JudgeBankValueConverter : public IValueConverter
{
public:
    JudgeBankValueConverter(IMixer* mixer, IParameter* parameter, int typeNumber);
    ~JudgeBankValueConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    IParameter* parameter() const;

private:
    std::unique_ptr<BoundParameter> m_parameter;
    int m_typeNumber;
};
