#include "GlobalHeapManager.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace OLIB {

const char* GlobalHeapManager::name() const
{
    return "GlobalHeapManager";
}

int GlobalHeapManager::heapKind() const
{
    return -1;
}

void* GlobalHeapManager::allocate(std::size_t size, bool logged, const char* label)
{
    void* memory = std::malloc(size);
    if (logged) {
        const char* text = label ? label : "????";
        // Addresses are printed in full pointer width.
        if (memory)
            log("     %s::new    > 0x%016" PRIxPTR " (%12zu) = %s\n", name(),
                reinterpret_cast<std::uintptr_t>(memory), size, text);
        else
            log("[NG] %s::new    > NULL               (%12zu) = %s\n", name(), size, text);
    }
    return memory;
}

std::uint32_t GlobalHeapManager::release(void* pointer, bool logged)
{
    if (!pointer)
        return 0x80000000u;
    if (logged)
        log("     %s::delete > 0x%016" PRIxPTR "\n", name(), reinterpret_cast<std::uintptr_t>(pointer));
    std::free(pointer);
    return 0;
}

int GlobalHeapManager::log(const char* format, ...)
{
    std::lock_guard<std::mutex> lock(m_logMutex);
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_line, sizeof m_line, format, args);
    va_end(args);
    std::printf("%s", m_line);
    return 0;
}

} // namespace OLIB
