#pragma once
// refvector: a vector of T whose storage is one allocation from the policy A,
// a 32-byte header (count, element count, policy state) followed by the
// elements, shared by copies and counted; the last holder frees it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace libutils {

template <class T, class A> class refvector {
    static_assert(std::is_trivially_copyable<T>::value, "refvector copies elements as bytes");
    static_assert(alignof(T) <= 16, "elements start 32 bytes into a heap block");

    struct header_t {
        std::uint32_t count;  // holders
        std::uint32_t size;   // elements
        A alloc;              // the policy's state for this allocation
    };
    static constexpr std::size_t header_bytes = 32;
    static_assert(sizeof(header_t) <= header_bytes, "the policy's state must fit the header");

public:
    refvector() = default;
    refvector(const refvector& other) : m_block(other.m_block) { retain(); }
    refvector& operator=(const refvector& other) {
        if (m_block != other.m_block) {
            release();
            m_block = other.m_block;
            retain();
        }
        return *this;
    }

    virtual bool empty() const { return m_block == nullptr || m_block->size == 0; }
    virtual std::uint32_t size() const { return m_block != nullptr ? m_block->size : 0; }
    virtual T* data() { return m_block != nullptr ? first(m_block) : nullptr; }
    virtual T* end() { return m_block != nullptr ? first(m_block) + m_block->size : nullptr; }
    virtual const T* data() const { return m_block != nullptr ? first(m_block) : nullptr; }
    virtual const T* end() const { return m_block != nullptr ? first(m_block) + m_block->size : nullptr; }
    // Element i, without a bounds test.
    virtual T* at(std::uint32_t i) { return data() + i; }
    virtual const T* at(std::uint32_t i) const { return data() + i; }
    virtual T* begin() { return data(); }
    virtual const T* begin() const { return data(); }

    // Shares other's storage.
    virtual void assign(const refvector& other) { *this = other; }

    // New storage of count elements for this holder alone, keeping the
    // leading min(old, new) elements; elements past them start as zero.
    // count 0 drops the storage. A refused allocation returns false and
    // keeps the current storage.
    virtual bool resize(std::uint32_t count) {
        if (count == 0) {
            release();
            return true;
        }
        const std::uint64_t bytes = header_bytes + std::uint64_t{sizeof(T)} * count;
        if (bytes > UINT32_MAX) return false;
        A state{};
        std::uint32_t request = static_cast<std::uint32_t>(bytes);
        void* got = state.allocate(request, nullptr, 1, 0, 0);
        if (got == nullptr) return false;

        auto* fresh = new (got) header_t{1, count, state};
        const std::uint32_t kept = m_block != nullptr ? std::min(m_block->size, count) : 0;
        if (kept != 0) std::memcpy(first(fresh), first(m_block), kept * sizeof(T));
        std::memset(static_cast<void*>(first(fresh) + kept), 0, (count - kept) * sizeof(T));
        release();
        m_block = fresh;
        return true;
    }

    virtual void clear() { release(); }
    virtual ~refvector() { release(); }

    // Holders of the storage, 0 without one.
    std::uint32_t use_count() const { return m_block != nullptr ? m_block->count : 0; }

private:
    static T* first(header_t* block) {
        return reinterpret_cast<T*>(reinterpret_cast<unsigned char*>(block) + header_bytes);
    }
    static const T* first(const header_t* block) {
        return reinterpret_cast<const T*>(reinterpret_cast<const unsigned char*>(block) + header_bytes);
    }

    void retain() {
        if (m_block != nullptr) ++m_block->count;
    }

    // Drops this holder; the last one hands the whole block back to A.
    // NOTE: kept out of line: inlined into several holders' destructors, GCC 12
    // cannot see the count and warns of a use after free that can not happen.
#if defined(__GNUC__) && !defined(__clang__)
    __attribute__((noinline))
#endif
    void
    release() {
        header_t* block = m_block;
        m_block = nullptr;
        if (block == nullptr || --block->count != 0) return;
        A state = block->alloc;  // the state lives in the memory it frees
        block->~header_t();
        state.deallocate(block);
    }

    header_t* m_block = nullptr;
};

}  // namespace libutils
