#pragma once

#include "support/HeapRegistry.h"
#include "support/IHeapManager.h"

#include <set>

// Installed as heap 0 while it exists: wraps the heap it replaces and tracks
// the blocks it hands out, so a test sees a leak or a foreign release, and
// can make the next allocation fail.
class CountingHeap : public OLIB::IHeapManager
{
public:
    CountingHeap() { OLIB::HeapRegistry::installHeap(0, this); }
    ~CountingHeap() override { OLIB::HeapRegistry::installHeap(0, m_inner); }

    const char* name() const override { return "CountingHeap"; }
    int heapKind() const override { return -1; }
    void* allocate(std::size_t size, bool log, const char* label) override
    {
        lastLabel = label;
        void* p = failNext ? nullptr : m_inner->allocate(size, log, label);
        failNext = false;
        if (p)
            m_live.insert(p);
        return p;
    }
    std::uint32_t release(void* p, bool log) override { return m_live.erase(p) ? m_inner->release(p, log) : 0x80000000u; }

    std::size_t outstanding() const { return m_live.size(); }
    bool failNext = false;
    const char* lastLabel = nullptr;

private:
    OLIB::IHeapManager* m_inner = OLIB::HeapRegistry::getHeapManager(0);
    std::set<void*> m_live;
};
