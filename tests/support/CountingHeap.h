#pragma once

#include "support/IHeapManager.h"

#include <set>

// Wraps a heap and tracks the blocks it has handed out, so a test can tell
// a leak (a block never released) or a foreign release apart.
class CountingHeap : public OLIB::IHeapManager
{
public:
    explicit CountingHeap(OLIB::IHeapManager* inner);

    const char* name() const override;
    int heapKind() const override;
    void* allocate(std::size_t size, bool log, const char* label) override;
    std::uint32_t release(void* pointer, bool log) override;

    std::size_t outstanding() const { return m_live.size(); }
    int allocations = 0;
    int releases = 0;
    bool failNext = false;
    const char* lastLabel = nullptr;

private:
    OLIB::IHeapManager* m_inner;
    std::set<void*> m_live;
};

// Installs a CountingHeap as heap 0 for the lifetime of the object.
class HeapZeroGuard
{
public:
    HeapZeroGuard();
    ~HeapZeroGuard();
    CountingHeap& heap() { return *m_heap; }

private:
    OLIB::IHeapManager* m_previous;
    CountingHeap* m_heap;
};
