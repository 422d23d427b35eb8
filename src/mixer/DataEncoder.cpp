#include "mixer/DataEncoder.h"

#include "host/IMixer.h"

DataEncoder::DataEncoder(IMixer* mixer)
    : m_mixer(mixer)
{
}

void DataEncoder::Begin()
{
}

int DataEncoder::EncodeHeader(void*, unsigned int, unsigned int*)
{
    return 0;
}

int DataEncoder::EncodeLibrary(int libraryIndex, int, void*, unsigned int*)
{
    if (m_mixer)
        m_mixer->LibraryIndexToCategoryId(libraryIndex);
    return 0;
}

int DataEncoder::EncodeEntry(int, int, void*, unsigned int*)
{
    return 0;
}

int DataEncoder::End(unsigned int*)
{
    return 0;
}

void DataEncoder::Release()
{
    delete this;
}
