#pragma once

#include <cstddef>
#include <cstdint>

namespace OLIB {

class IHeapManager;

// The process-wide table of 32 numbered heaps. Heap 0 is the global heap
// manager (malloc/free). Blocks carry an 8-byte header (heap number, 24-bit
// big-endian size, four zero bytes) so they can be released by pointer alone.
class HeapRegistry
{
public:
    static constexpr unsigned HeapCount = 32;
    static constexpr std::size_t MaxBlockSize = 0xFFFFFF;
    static constexpr std::size_t HeaderSize = 8;
    static constexpr std::uint32_t Failure = 0x80000000u;

    static IHeapManager* getHeapManager(unsigned heapNumber);
    static bool isHeapLogged(unsigned heapNumber);
    static void* allocateBlock(unsigned heapNumber, const char* label, std::size_t size);
    static std::uint32_t releaseBlock(void* data);

    // Test seam: install a heap (or null) at a number; returns the old one.
    static IHeapManager* installHeap(unsigned heapNumber, IHeapManager* heap, bool logged = false);
};

} // namespace OLIB
