#pragma once
// refvector2: a byte vector whose storage block is shared by its copies and
// counted; the last holder frees it. Where the bytes come from is the policy
// A (alloc_new: heap, alloc_mmap_win: file mapping). Single-threaded: the
// count is a plain integer.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace libutils {

template <class T, class A> class refvector2 {
    static_assert(sizeof(T) == 1, "refvector2 counts its size in bytes");
    static_assert(std::is_trivially_copyable<T>::value, "refvector2 copies elements as bytes");

public:
    // The shared block: one per storage, however many vectors refer to it.
    struct block_t {
        std::uint32_t count = 0;  // holders
        std::uint32_t size = 0;   // bytes
        A alloc;                  // the policy's state for data
        T* data = nullptr;
    };

    refvector2() = default;
    refvector2(const refvector2& other) : m_block(other.m_block) { retain(); }
    refvector2& operator=(const refvector2& other) {
        if (m_block != other.m_block) {
            release();
            m_block = other.m_block;
            retain();
        }
        return *this;
    }

    virtual bool empty() const { return m_block == nullptr || m_block->size == 0; }
    virtual std::uint32_t size() const { return m_block != nullptr ? m_block->size : 0; }
    virtual T* data() { return m_block != nullptr ? m_block->data : nullptr; }
    virtual T* end() { return m_block != nullptr ? m_block->data + m_block->size : nullptr; }
    virtual const T* data() const { return m_block != nullptr ? m_block->data : nullptr; }
    virtual const T* end() const { return m_block != nullptr ? m_block->data + m_block->size : nullptr; }
    // Element i, without a bounds test.
    virtual T* at(std::uint32_t i) { return data() + i; }
    virtual const T* at(std::uint32_t i) const { return data() + i; }
    // Through data(), so a derived window answers with its own start.
    virtual T* begin() { return data(); }
    virtual const T* begin() const { return data(); }

    // New storage of size bytes from the policy (file_name, mode and the
    // 64-bit offset as the policy reads them; size 0 with a file name takes
    // the whole file). Without keep the current storage is released first;
    // with keep its leading bytes are copied into writable new storage and
    // it is released afterwards. On failure the vector keeps what it had at
    // that point and false is returned.
    virtual bool allocate(std::uint32_t size, const char* file_name = nullptr, int mode = 1,
                          std::uint32_t offset_low = 0, std::uint32_t offset_high = 0, bool keep = false) {
        if (!keep) release();
        auto fresh = std::make_unique<block_t>();
        fresh->size = size;
        void* got = fresh->alloc.allocate(fresh->size, file_name, mode, offset_low, offset_high);
        if (got == nullptr) return false;
        fresh->count = 1;
        fresh->data = static_cast<T*>(got);
        if (m_block != nullptr) {
            if (fresh->alloc.writable() && m_block->data != nullptr) {
                std::memcpy(fresh->data, m_block->data, std::min(m_block->size, fresh->size));
            }
            release();
        }
        m_block = fresh.release();
        return true;
    }

    // Resizes the shared storage (every holder sees it) through the policy's
    // reallocate at the given offset, or makes new read-write storage when
    // there is none. A refused resize returns false and leaves the storage
    // as it was.
    virtual bool resize(std::uint32_t size, std::uint32_t offset_low = 0, std::uint32_t offset_high = 0) {
        if (m_block != nullptr) {
            void* got = m_block->alloc.reallocate(m_block->data, size, offset_low, offset_high);
            if (got == nullptr) return false;
            m_block->data = static_cast<T*>(got);
            m_block->size = size;
            return true;
        }
        auto fresh = std::make_unique<block_t>();
        fresh->size = size;
        void* got = fresh->alloc.allocate(fresh->size, nullptr, 1, 0, 0);
        if (got == nullptr) return false;
        fresh->count = 1;
        fresh->data = static_cast<T*>(got);
        m_block = fresh.release();
        return true;
    }

    virtual void clear() { release(); }
    virtual ~refvector2() { release(); }

    // Holders of the storage, 0 without one.
    std::uint32_t use_count() const { return m_block != nullptr ? m_block->count : 0; }
    // The policy's state of the storage, null without one.
    const A* allocator() const { return m_block != nullptr ? &m_block->alloc : nullptr; }

protected:
    void retain() {
        if (m_block != nullptr) ++m_block->count;
    }

    // Drops this holder; the last one frees the storage and the block.
    // NOTE: kept out of line: inlined into several holders' destructors, GCC 12
    // cannot see the count and warns of a use after free that can not happen.
#if defined(__GNUC__) && !defined(__clang__)
    __attribute__((noinline))
#endif
    void
    release() {
        block_t* block = m_block;
        m_block = nullptr;
        if (block == nullptr || --block->count != 0) return;
        block->alloc.deallocate(block->data);
        delete block;
    }

private:
    block_t* m_block = nullptr;
};

}  // namespace libutils
