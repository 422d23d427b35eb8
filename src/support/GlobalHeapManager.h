#pragma once

#include "GlobalHeapManagerBase.h"

#include <mutex>

namespace OLIB {

// Heap 0: the C runtime's malloc/free, with an optional log line per call.
class GlobalHeapManager : public GlobalHeapManagerBase
{
public:
    GlobalHeapManager() = default;
    ~GlobalHeapManager() override = default;

    const char* name() const override;
    int heapKind() const override;
    void* allocate(std::size_t size, bool log, const char* label) override;
    std::uint32_t release(void* pointer, bool log) override;
    __attribute__((format(printf, 2, 3))) int log(const char* format, ...) override;

private:
    std::mutex m_logMutex;
    char m_line[256] = {};
};

} // namespace OLIB
