#pragma once

#include <QString>

#include <string>
#include <unordered_map>
#include <unordered_set>

// The KX9 value-name tables as the build writes them beside the host program
// (KX9/Descriptor/value-names.txt, "NAME<TAB>VALUE<TAB>TEXT" lines): the texts
// that the plug-in turns into the integers GetValue answers.
class ValueNames {
public:
    static constexpr const char* RelativePath = "KX9/Descriptor/value-names.txt";

    // False with a message when the file cannot be read or a line is malformed.
    bool load(const QString& path, QString& error);

    bool isTextParameter(const std::string& name) const { return m_bound.count(name) != 0; }
    // The value's text for a bound name (the first entry wins, as in the
    // plug-in; empty for "no type"); for an unbound name or a value without
    // text, the number.
    QString text(const std::string& name, int value) const;

private:
    std::unordered_set<std::string> m_bound;
    std::unordered_map<std::string, QString> m_texts;   // "NAME\tVALUE" -> text
};
