#pragma once

#include <map>
#include <memory>
#include <string>

class IMixer;
class IFilter;
class IValueConverter;
class IParameterConverter;

// Pieces shared by the rule trees. Everything is handed out owned, so a
// tree under construction leaks nothing when a later CreateParameter throws.
class RuleBuilder
{
public:
    struct Release {
        void operator()(IParameterConverter* converter) const;
    };
    template <class T>
    using Root = std::unique_ptr<T, Release>;
    using ConverterPtr = std::unique_ptr<IValueConverter>;
    using FilterPtr = std::unique_ptr<IFilter>;

    template <class T>
    static Root<T> root(const std::string& targetName, const std::string& sourceName, IMixer* targetMixer,
                        IMixer* sourceMixer)
    {
        return Root<T>(new T(targetName, sourceName, targetMixer, sourceMixer));
    }

    // A filter passing when the tree's first dependency holds one of `values`.
    static FilterPtr setFilter(const int* values, int count);
    // `mixer`'s value of the parameter it makes from `name`.
    static ConverterPtr parameterValue(IMixer* mixer, const std::string& name);
    // Adds `mixer`'s value of the parameter it makes from `name`.
    static ConverterPtr addParameter(IMixer* mixer, const std::string& name);
    // Lets the value through while `mixer`'s value of `name` equals
    // `typeNumber`, then through `table` when one is given.
    static ConverterPtr bankJudge(IMixer* mixer, const std::string& name, int typeNumber,
                                  const std::map<int, int>* table);
};
