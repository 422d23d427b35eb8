#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

#include <map>
#include <memory>

class IMixer;
class IParameter;
class BoundParameter;

// The judge of JudgeBankValueConverter, then the lookup of
// CopyPasteValueWithTableConverter in `table` (held by pointer).
// Owns `parameter` from the moment of construction, also when construction
// throws; a null mixer or parameter throws a ConverterException pointer.
class UTILITIES_API JudgeBankValueAndTableConverter : public IValueConverter
{
public:
    JudgeBankValueAndTableConverter(IMixer* mixer, IParameter* parameter, int typeNumber, const std::map<int, int>* table);
    ~JudgeBankValueAndTableConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    IParameter* parameter() const;

private:
    std::unique_ptr<BoundParameter> m_parameter;
    int m_typeNumber;
    const std::map<int, int>* m_table;
};
