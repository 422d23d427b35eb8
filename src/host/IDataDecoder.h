#pragma once

// Library-data decoder the host asks the mixer for. Released through slot 2.
class IDataDecoder
{
public:
    virtual void Begin(const void* data, unsigned int size) = 0;                   // 0
    virtual int Decode(int libraryIndex, void* buffer, unsigned int* size) = 0;    // 1
    virtual void Release() = 0;                                                    // 2

protected:
    ~IDataDecoder() = default;
};
