#pragma once

#include "host/IFileDescription.h"

#include <string>

// One side's file of a conversion: its path and its type tag.
class FileDescription final : public IFileDescription
{
public:
    FileDescription() = default;
    FileDescription(std::string path, std::string fileType);

    std::string GetPath() const override;
    std::string GetFileType() const override;

private:
    std::string m_path;
    std::string m_fileType;
};
