#pragma once

#include <string>

// Describes one side's file of a conversion.
class IFileDescription
{
public:
    virtual std::string GetPath() const = 0;       // 0
    virtual std::string GetFileType() const = 0;   // 1: type tag, e.g. "KX9F"

protected:
    ~IFileDescription() = default;
};
