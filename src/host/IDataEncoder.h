#pragma once

// Library-data encoder the host asks the mixer for. Released through slot 5.
class IDataEncoder
{
public:
    virtual void Begin() = 0;                                                               // 0
    virtual int EncodeHeader(void* buffer, unsigned int capacity, unsigned int* written) = 0; // 1
    virtual int EncodeLibrary(int libraryIndex, int entry, void* buffer, unsigned int* size) = 0; // 2
    virtual int EncodeEntry(int libraryIndex, int entry, void* buffer, unsigned int* size) = 0; // 3
    virtual int End(unsigned int* size) = 0;                                                // 4
    virtual void Release() = 0;                                                             // 5

protected:
    ~IDataEncoder() = default;
};
