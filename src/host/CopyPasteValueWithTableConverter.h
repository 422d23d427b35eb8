#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

#include <map>
#include <string>

class IMixer;

// Looks the previous result up in a table held by pointer (it must outlive
// the converter). A key outside the table takes the value of the nearest key,
// the lower one when two are equally near. A null or empty table writes
// nothing. The tree's four arguments are kept for inspection only: the value
// it works on is the one the tree hands it.
class UTILITIES_API CopyPasteValueWithTableConverter : public IValueConverter
{
public:
    CopyPasteValueWithTableConverter(const std::string& targetName, const std::string& sourceName,
                                     IMixer* targetMixer, IMixer* sourceMixer,
                                     const std::map<int, int>* table);
    ~CopyPasteValueWithTableConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;

    const std::string& targetName() const { return m_targetName; }
    const std::string& sourceName() const { return m_sourceName; }
    const std::map<int, int>* table() const { return m_table; }

    // The table lookup itself, shared with JudgeBankValueAndTableConverter.
    static bool Lookup(const std::map<int, int>* table, int key, int& value);

private:
    std::string m_targetName;
    std::string m_sourceName;
    IMixer* m_targetMixer;
    IMixer* m_sourceMixer;
    const std::map<int, int>* m_table;
};
