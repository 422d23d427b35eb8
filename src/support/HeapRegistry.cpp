#include "HeapRegistry.h"

#include "GlobalHeapManager.h"

#include <cstring>

namespace OLIB {

namespace {

struct Entry
{
    IHeapManager* heap = nullptr;
    bool logged = false;
};

// Built on first use; the global heap lives as long as the module. Every
// allocation happens on the host's thread, so first use is never raced.
struct Registry
{
    GlobalHeapManager global;
    Entry entries[HeapRegistry::HeapCount];

    Registry() { entries[0].heap = &global; }
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

IHeapManager* HeapRegistry::getHeapManager(unsigned heapNumber)
{
    if (heapNumber >= HeapCount)
        return nullptr;
    return registry().entries[heapNumber].heap;
}

bool HeapRegistry::isHeapLogged(unsigned heapNumber)
{
    if (heapNumber >= HeapCount)
        return false;
    const Entry& entry = registry().entries[heapNumber];
    return entry.heap && entry.logged;
}

void* HeapRegistry::allocateBlock(unsigned heapNumber, const char* label, std::size_t size)
{
    IHeapManager* heap = getHeapManager(heapNumber);
    if (!heap || size < 1 || size > MaxBlockSize)
        return nullptr;
    auto* block = static_cast<unsigned char*>(heap->allocate(size + HeaderSize, isHeapLogged(heapNumber), label));
    if (!block)
        return nullptr;
    block[0] = static_cast<unsigned char>(heapNumber);
    block[1] = static_cast<unsigned char>(size >> 16);
    block[2] = static_cast<unsigned char>(size >> 8);
    block[3] = static_cast<unsigned char>(size);
    std::memset(block + 4, 0, 4 + size);
    return block + HeaderSize;
}

std::uint32_t HeapRegistry::releaseBlock(void* data)
{
    if (!data)
        return Failure;
    unsigned char* block = static_cast<unsigned char*>(data) - HeaderSize;
    const unsigned heapNumber = block[0];
    IHeapManager* heap = getHeapManager(heapNumber);
    if (!heap)
        return Failure;
    return heap->release(block, isHeapLogged(heapNumber)) & Failure;
}

IHeapManager* HeapRegistry::installHeap(unsigned heapNumber, IHeapManager* heap, bool logged)
{
    if (heapNumber >= HeapCount)
        return nullptr;
    Entry& entry = registry().entries[heapNumber];
    IHeapManager* old = entry.heap;
    entry.heap = heap;
    entry.logged = logged;
    return old;
}

} // namespace OLIB
