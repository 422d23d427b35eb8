#pragma once

#include "host/IDataDecoder.h"

// Library-data decoder of this console: it holds and decodes nothing.
class DataDecoder final : public IDataDecoder
{
public:
    DataDecoder() = default;

    void Begin(const void* data, unsigned int size) override;
    int Decode(int libraryIndex, void* buffer, unsigned int* size) override;
    void Release() override;

private:
    ~DataDecoder() = default;
};
