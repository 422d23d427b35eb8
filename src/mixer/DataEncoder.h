#pragma once

#include "host/IDataEncoder.h"

class IMixer;

// Library-data encoder of this console: it carries no data; it only asks
// its mixer for the category of the library it is given.
class DataEncoder final : public IDataEncoder
{
public:
    explicit DataEncoder(IMixer* mixer);

    void Begin() override;
    int EncodeHeader(void* buffer, unsigned int capacity, unsigned int* written) override;
    int EncodeLibrary(int libraryIndex, int entry, void* buffer, unsigned int* size) override;
    int EncodeEntry(int libraryIndex, int entry, void* buffer, unsigned int* size) override;
    int End(unsigned int* size) override;
    void Release() override;

    IMixer* mixer() const { return m_mixer; }

private:
    ~DataEncoder() = default;

    IMixer* m_mixer;
};
