#pragma once
// ofsvector: a window into a refvector2's shared bytes, starting at an offset
// and at most limit bytes long. Copies share the bytes and take the window.

#include "utilities/refvector2.h"

#include <cstdint>

namespace libutils {

template <class T, class A> class ofsvector : public refvector2<T, A> {
    using base_t = refvector2<T, A>;

public:
    static constexpr std::uint32_t no_limit = 0xFFFFFFFFu;

    ofsvector() = default;
    ofsvector(const ofsvector&) = default;
    ofsvector& operator=(const ofsvector&) = default;

    // Empty when the window holds no bytes: no storage, limit 0, or an offset
    // at or past the end.
    bool empty() const override { return size() == 0; }
    // The bytes from offset to the end of the storage, at most limit.
    std::uint32_t size() const override {
        const std::uint32_t whole = base_t::size();
        const std::uint32_t rest = m_offset < whole ? whole - m_offset : 0;
        return m_limit == no_limit ? rest : std::min(rest, m_limit);
    }
    // The window's first byte; an offset past the end points at the end.
    T* data() override {
        T* all = base_t::data();
        return all != nullptr ? all + std::min(m_offset, base_t::size()) : nullptr;
    }
    const T* data() const override {
        const T* all = base_t::data();
        return all != nullptr ? all + std::min(m_offset, base_t::size()) : nullptr;
    }
    T* end() override {
        T* first = data();
        return first != nullptr ? first + size() : nullptr;
    }
    const T* end() const override {
        const T* first = data();
        return first != nullptr ? first + size() : nullptr;
    }
    T* at(std::uint32_t i) override { return data() + i; }
    const T* at(std::uint32_t i) const override { return data() + i; }

    // New storage, seen whole (offset 0, no limit), whether or not it worked.
    bool allocate(std::uint32_t size, const char* file_name = nullptr, int mode = 1, std::uint32_t offset_low = 0,
                  std::uint32_t offset_high = 0, bool keep = false) override {
        const bool done = base_t::allocate(size, file_name, mode, offset_low, offset_high, keep);
        m_offset = 0;
        m_limit = no_limit;
        return done;
    }
    // Lifts the limit and resizes the storage; the offset stays.
    bool resize(std::uint32_t size, std::uint32_t offset_low = 0, std::uint32_t offset_high = 0) override {
        m_limit = no_limit;
        return base_t::resize(size, offset_low, offset_high);
    }
    void clear() override {
        base_t::clear();
        m_offset = 0;
        m_limit = no_limit;
    }

    std::uint32_t offset() const { return m_offset; }
    std::uint32_t limit() const { return m_limit; }
    void set_window(std::uint32_t offset, std::uint32_t limit = no_limit) {
        m_offset = offset;
        m_limit = limit;
    }

private:
    std::uint32_t m_offset = 0;        // bytes from the storage's start
    std::uint32_t m_limit = no_limit;  // greatest window length in bytes
};

}  // namespace libutils
