#include "FileDescription.h"

FileDescription::FileDescription(std::string path, std::string fileType)
    : m_path(std::move(path))
    , m_fileType(std::move(fileType))
{
}

std::string FileDescription::GetPath() const
{
    return m_path;
}

std::string FileDescription::GetFileType() const
{
    return m_fileType;
}
