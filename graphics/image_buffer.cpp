#include "graphics/image_buffer.h"

namespace libgr {
namespace {

// Components per pixel, by pixel-format code 0..17.
constexpr std::uint8_t k_components[grPixelFormatCount] = {1, 2, 1, 1, 1, 1, 1, 2, 3, 4, 3, 4, 1, 2, 3, 4, 2, 1};
// Bits per component for codes 0..8, bits per packed pixel for 9..14.
constexpr std::uint8_t k_bits[grBitSizeCount] = {1, 2, 4, 8, 12, 16, 24, 32, 64, 8, 16, 16, 32, 8, 16};
constexpr std::uint32_t k_first_packed = 9;

}  // namespace

std::uint32_t ComponentCount(std::uint32_t pixel_format) {
    return pixel_format < grPixelFormatCount ? k_components[pixel_format] : 0;
}

std::uint32_t BitsPerPixel(std::uint32_t pixel_format, std::uint32_t bit_size) {
    const std::uint32_t components = ComponentCount(pixel_format);
    if (components == 0 || bit_size >= grBitSizeCount) return 0;
    return bit_size >= k_first_packed ? k_bits[bit_size] : components * k_bits[bit_size];
}

bool BitSizeCode(std::uint32_t bits, std::uint8_t& code) {
    for (std::uint8_t c = 0; c < k_first_packed; ++c) {
        if (k_bits[c] == bits) {
            code = c;
            return true;
        }
    }
    return false;
}

void grImageBuffer::Clear() {
    m_bytes.clear();
    m_width = 0;
    m_height = 0;
}

bool grImageBuffer::Allocate() {
    m_bytes.clear();
    const std::uint64_t size = GetStorageSize();
    // Storage sizes are 32-bit; an empty or unknown layout has nothing to hold.
    if (size == 0 || size > UINT32_MAX) return false;
    return m_bytes.resize(static_cast<std::uint32_t>(size));
}

std::uint32_t grImageBuffer::GetBitsPerPixel() const { return BitsPerPixel(m_pixel_format, m_bit_size); }

std::uint32_t grImageBuffer::GetAlignment() const {
    return m_pixel_store && m_pixel_store->alignment != 0 ? m_pixel_store->alignment : 4;
}

std::uint64_t grImageBuffer::GetRowStride() const {
    const std::uint64_t pixels = m_row_length != 0 ? m_row_length : m_width;
    const std::uint64_t bytes = (std::uint64_t{GetBitsPerPixel()} * pixels + 7) / 8;
    const std::uint64_t alignment = GetAlignment();
    return (bytes + alignment - 1) / alignment * alignment;
}

std::uint64_t grImageBuffer::GetStorageSize() const {
    return GetRowStride() * (std::uint64_t{m_extra_rows} + m_height);
}

}  // namespace libgr
