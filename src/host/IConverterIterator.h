#pragma once

// Walks the (channel, sub-index) pairs of one parameter. Made by the
// converter library; owned by the host, released through Destroy.
class IConverterIterator
{
public:
    virtual void Destroy() = 0;                               // 0
    virtual void Reset() = 0;                                 // 1
    // Yields the next pair; false when the walk is over.
    virtual bool Next(int& channel, int& subIndex) = 0;       // 2
    virtual int Count() const = 0;                            // 3

protected:
    ~IConverterIterator() = default;
};
