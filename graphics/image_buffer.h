#pragma once
// Texels in memory: byte storage shared by copies (anonymous read-write
// memory of libutils) plus the layout that says how the bytes are laid out.
// Used by the texture read-back (graphics/texture_readback.h).

#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector.h"

#include <cstdint>
#include <optional>

namespace libgr {

// Pixel-store settings of an image's rows.
struct grPixelStore {
    std::uint32_t swap_bytes = 0;  // nonzero: multi-byte components byte-swapped
    std::uint32_t alignment = 4;   // bytes a row starts on: 1, 2, 4 or 8; 0 means 4
};

// What the components of an image are.
enum grComponentKind : std::uint8_t {
    grSignedInteger = 0,
    grUnsignedInteger = 1,
    grRealOrNormalized = 2,  // float, or normalised fixed point
};

// Pixel-format code of four-component (RGBA) pixels.
constexpr std::uint8_t grPixelFormatFour = 9;
constexpr std::uint8_t grPixelFormatCount = 18;
// Bit-size codes: 0..8 give bits per component, 9..14 bits per packed pixel.
constexpr std::uint8_t grBitSizeCount = 15;

// Components per pixel of a pixel-format code, 0 for an unknown code.
std::uint32_t ComponentCount(std::uint32_t pixel_format);
// Bits per pixel of a pixel-format code and a bit-size code, 0 when either
// is unknown.
std::uint32_t BitsPerPixel(std::uint32_t pixel_format, std::uint32_t bit_size);
// The bit-size code of a component of `bits` bits; false when none has it.
bool BitSizeCode(std::uint32_t bits, std::uint8_t& code);

class grImageBuffer {
public:
    using Bytes = libutils::ofsvector<unsigned char, libutils::alloc_mmap_win>;
    using Shorts = libutils::refvector<unsigned short, libutils::alloc_new>;

    // Releases the storage; width and height become 0, the layout stays.
    void Clear();
    // New storage of GetStorageSize() bytes (the old is released first).
    // False when the layout is unknown or empty or the memory is refused.
    bool Allocate();

    // Bits per pixel, from the pixel-format and bit-size codes (0: unknown).
    std::uint32_t GetBitsPerPixel() const;
    // Bytes from one row to the next: the row length (the width when 0) in
    // whole bytes, rounded up to the alignment.
    std::uint64_t GetRowStride() const;
    // Stride times (extra rows + height).
    std::uint64_t GetStorageSize() const;
    // The alignment in use: the pixel store's, or 4 without one or for 0.
    std::uint32_t GetAlignment() const;

    Bytes& GetBytes() { return m_bytes; }
    const Bytes& GetBytes() const { return m_bytes; }
    unsigned char* GetData() { return m_bytes.data(); }
    const unsigned char* GetData() const { return m_bytes.data(); }

    std::uint8_t GetPixelFormat() const { return m_pixel_format; }
    void SetPixelFormat(std::uint8_t code) { m_pixel_format = code; }
    std::uint8_t GetComponentKind() const { return m_component_kind; }
    void SetComponentKind(std::uint8_t kind) { m_component_kind = kind; }
    std::uint8_t GetBitSize() const { return m_bit_size; }
    void SetBitSize(std::uint8_t code) { m_bit_size = code; }
    const std::optional<grPixelStore>& GetPixelStore() const { return m_pixel_store; }
    void SetPixelStore(const std::optional<grPixelStore>& store) { m_pixel_store = store; }
    std::uint32_t GetRowLength() const { return m_row_length; }
    void SetRowLength(std::uint32_t pixels) { m_row_length = pixels; }
    std::uint32_t GetExtraRows() const { return m_extra_rows; }
    void SetExtraRows(std::uint32_t rows) { m_extra_rows = rows; }
    std::uint32_t GetWidth() const { return m_width; }
    void SetWidth(std::uint32_t pixels) { m_width = pixels; }
    std::uint32_t GetHeight() const { return m_height; }
    void SetHeight(std::uint32_t rows) { m_height = rows; }
    std::uint8_t GetFlags() const { return m_flags; }
    void SetFlags(std::uint8_t flags) { m_flags = flags; }

private:
    Bytes m_bytes;
    std::uint8_t m_pixel_format = grPixelFormatFour;
    std::uint8_t m_component_kind = grRealOrNormalized;
    std::uint8_t m_bit_size = 3;  // 8 bits per component
    std::optional<grPixelStore> m_pixel_store;
    std::uint32_t m_row_length = 0;  // pixels per stored row; 0: the width
    std::uint32_t m_extra_rows = 0;  // rows stored beyond the height
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint8_t m_flags = 0;
    // Reserved beside the bytes for per-image tables of 16-bit words; nothing
    // in the library fills them yet and the read-back leaves them alone.
    Shorts m_reserved[3];
};

}  // namespace libgr
