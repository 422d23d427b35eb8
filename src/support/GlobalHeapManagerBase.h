#pragma once

#include "IHeapManager.h"

namespace OLIB {

// Common base of the process-wide heaps: adds the heap log.
class GlobalHeapManagerBase : public IHeapManager
{
public:
    // printf-style; writes one line of at most 255 characters to stdout.
    __attribute__((format(printf, 2, 3))) virtual int log(const char* format, ...) = 0;
};

} // namespace OLIB
