#pragma once

#include <QtGlobal>

#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

// Memory of `bytes` (a multiple of 2 MB) aligned to 2 MB, on huge pages where the system gives
// them: a few page faults for megabytes rather than one per 4 KB. Freed with std::free.
inline void *allocateHugePages(size_t bytes)
{
    constexpr size_t kHugePage = size_t(2) << 20;
    void *memory = std::aligned_alloc(kHugePage, bytes);
    if (!memory)
        throw std::bad_alloc();
#ifdef Q_OS_LINUX
    ::madvise(memory, bytes, MADV_HUGEPAGE); // a hint; failure changes nothing
#endif
    return memory;
}

// A fixed number of value-initialised elements. Arrays of megabytes (hash tables probed at
// random) ask for huge pages, so that a probe into tens of megabytes does not also miss the
// TLB, and so that their first touch is a few page faults rather than thousands.
template<typename T>
class HugePageArray
{
public:
    HugePageArray() = default;
    explicit HugePageArray(size_t count)
        : m_count(count)
    {
        constexpr size_t kHugePage = size_t(2) << 20;
        const size_t bytes = count * sizeof(T);
        void *memory = bytes >= 2 * kHugePage
            ? allocateHugePages((bytes + kHugePage - 1) / kHugePage * kHugePage)
            : std::malloc(bytes ? bytes : 1);
        if (!memory)
            throw std::bad_alloc();
        m_data = static_cast<T *>(memory);
        std::uninitialized_value_construct_n(m_data, count);
    }
    HugePageArray(HugePageArray &&other) noexcept { swap(other); }
    HugePageArray &operator=(HugePageArray &&other) noexcept
    {
        HugePageArray(std::move(other)).swap(*this);
        return *this;
    }
    ~HugePageArray() { std::free(m_data); }
    void swap(HugePageArray &other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_count, other.m_count);
    }
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    T &operator[](size_t i) { return m_data[i]; }
    const T &operator[](size_t i) const { return m_data[i]; }
    T *begin() { return m_data; }
    T *end() { return m_data + m_count; }
    const T *begin() const { return m_data; }
    const T *end() const { return m_data + m_count; }

private:
    T *m_data = nullptr;
    size_t m_count = 0;
};
