#pragma once

#include <QString>

#include <string>
#include <vector>

// The list of KX9 parameter names that the build writes beside the host
// program (KX9/Descriptor/parameters.txt): one name per line, in the
// plug-in's catalogue order.
class DescriptorList {
public:
    static constexpr const char* RelativePath = "KX9/Descriptor/parameters.txt";

    // False with a message when the file is missing, unreadable or empty, or
    // a line is not a parameter name ("/..." without blanks) or repeats one.
    static bool load(const QString& path, std::vector<std::string>& names, QString& error);

    // The names in the order a conversion runs them: the effect and plug-in
    // type parameters first (a unit's other values reach the console only
    // once its type has placed it on a rack), then all others in list order.
    static std::vector<std::string> conversionOrder(const std::vector<std::string>& names);

    // True for the parameters that conversionOrder moves to the front.
    static bool isTypeParameter(const std::string& name);
};
