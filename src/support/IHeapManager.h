#pragma once

#include <cstddef>
#include <cstdint>

namespace OLIB {

// One numbered heap of the registry.
class IHeapManager
{
public:
    virtual const char* name() const = 0;
    virtual int heapKind() const = 0;
    virtual void* allocate(std::size_t size, bool log, const char* label) = 0;
    virtual std::uint32_t release(void* pointer, bool log) = 0;
    virtual ~IHeapManager() = default;
};

} // namespace OLIB
