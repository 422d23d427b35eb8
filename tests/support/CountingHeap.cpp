#include "CountingHeap.h"

#include "support/HeapRegistry.h"

CountingHeap::CountingHeap(OLIB::IHeapManager* inner)
    : m_inner(inner)
{
}

const char* CountingHeap::name() const
{
    return "CountingHeap";
}

int CountingHeap::heapKind() const
{
    return -1;
}

void* CountingHeap::allocate(std::size_t size, bool log, const char* label)
{
    lastLabel = label;
    if (failNext) {
        failNext = false;
        return nullptr;
    }
    void* p = m_inner->allocate(size, log, label);
    if (p) {
        ++allocations;
        m_live.insert(p);
    }
    return p;
}

std::uint32_t CountingHeap::release(void* pointer, bool log)
{
    if (m_live.erase(pointer) == 0)
        return 0x80000000u;
    ++releases;
    return m_inner->release(pointer, log);
}

HeapZeroGuard::HeapZeroGuard()
    : m_previous(OLIB::HeapRegistry::getHeapManager(0))
    , m_heap(new CountingHeap(m_previous))
{
    OLIB::HeapRegistry::installHeap(0, m_heap);
}

HeapZeroGuard::~HeapZeroGuard()
{
    OLIB::HeapRegistry::installHeap(0, m_previous);
    delete m_heap;
}
