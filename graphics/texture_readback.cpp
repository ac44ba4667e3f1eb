// Texture read-back: the free function on a bound target and the member of
// grTextureObject on its own name (GL 4.5 entry points) share one procedure.

#include "graphics/texture_readback.h"

#include "gl_loader/gl_ext.h"
#include "graphics/gl_error.h"
#include "graphics/texture_object.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace libgr {
namespace {

// A colour channel whose type and size describe the texture's components.
// Red first; textures without red (luminance, intensity, alpha) are
// described by the channel they do have.
struct channel_t {
    const char* name;
    GLenum type_query;
    GLenum size_query;
    const char* type_label;
    const char* size_label;
};

constexpr channel_t k_channels[] = {
    {"red", GL_TEXTURE_RED_TYPE, GL_TEXTURE_RED_SIZE, "get texture level parameter (red_type)",
     "get texture level parameter (red_size)"},
    {"luminance", GL_TEXTURE_LUMINANCE_TYPE, GL_TEXTURE_LUMINANCE_SIZE, "get texture level parameter (luminance_type)",
     "get texture level parameter (luminance_size)"},
    {"intensity", GL_TEXTURE_INTENSITY_TYPE, GL_TEXTURE_INTENSITY_SIZE, "get texture level parameter (intensity_type)",
     "get texture level parameter (intensity_size)"},
    {"alpha", GL_TEXTURE_ALPHA_TYPE, GL_TEXTURE_ALPHA_SIZE, "get texture level parameter (alpha_type)",
     "get texture level parameter (alpha_size)"},
};

// The component kind of a GL component type; false for any other value.
bool ComponentKindOf(GLint type, std::uint8_t& kind) {
    switch (type) {
    case GL_INT: kind = grSignedInteger; return true;
    case GL_UNSIGNED_INT: kind = grUnsignedInteger; return true;
    case GL_FLOAT:
    case GL_UNSIGNED_NORMALIZED:
    case GL_SIGNED_NORMALIZED: kind = grRealOrNormalized; return true;
    default: return false;
    }
}

// The pixel transfer that holds components of `type` with `bits` bits
// without loss: the narrowest of 8, 16 and 32 bits (half or single floats).
struct transfer_t {
    GLenum format;
    GLenum type;
    std::uint32_t bits;  // per component in memory
};

bool TransferFor(GLint type, GLint bits, transfer_t& out) {
    if (bits <= 0 || bits > 32) return false;
    const bool is_integer = type == GL_INT || type == GL_UNSIGNED_INT;
    out.format = is_integer ? GL_RGBA_INTEGER : GL_RGBA;
    if (type == GL_FLOAT) {
        out.type = bits <= 16 ? GL_HALF_FLOAT : GL_FLOAT;
        out.bits = bits <= 16 ? 16 : 32;
        return true;
    }
    const bool is_signed = type == GL_INT || type == GL_SIGNED_NORMALIZED;
    out.bits = bits <= 8 ? 8 : bits <= 16 ? 16 : 32;
    if (out.bits == 8) out.type = is_signed ? GL_BYTE : GL_UNSIGNED_BYTE;
    if (out.bits == 16) out.type = is_signed ? GL_SHORT : GL_UNSIGNED_SHORT;
    if (out.bits == 32) out.type = is_signed ? GL_INT : GL_UNSIGNED_INT;
    return true;
}

// Sets the pack state so that GL writes exactly the rows the image was sized
// for, whatever the caller had set, and restores it afterwards.
class PackStateGuard {
public:
    explicit PackStateGuard(const grImageBuffer& image) {
        for (std::size_t i = 0; i < k_count; ++i) glGetIntegerv(k_names[i], &m_saved[i]);
        glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &m_pack_buffer);
        if (m_pack_buffer != 0) {
            // Bound, it would turn the image's address into a buffer offset.
            if (gl_ext::glBindBuffer == nullptr) {
                std::cerr << "GetTextureImage: a pixel pack buffer is bound and cannot be unbound." << std::endl;
                m_ok = false;
            } else {
                gl_ext::glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
            }
        }
        const auto& store = image.GetPixelStore();
        const GLint wanted[k_count] = {store ? static_cast<GLint>(store->swap_bytes != 0) : 0,
                                       0,
                                       static_cast<GLint>(image.GetRowLength()),
                                       0,
                                       0,
                                       static_cast<GLint>(image.GetAlignment()),
                                       0,
                                       0};
        for (std::size_t i = 0; i < k_count; ++i) glPixelStorei(k_names[i], wanted[i]);
    }
    ~PackStateGuard() {
        for (std::size_t i = 0; i < k_count; ++i) glPixelStorei(k_names[i], m_saved[i]);
        if (m_pack_buffer != 0 && gl_ext::glBindBuffer != nullptr) {
            gl_ext::glBindBuffer(GL_PIXEL_PACK_BUFFER, static_cast<GLuint>(m_pack_buffer));
        }
    }
    PackStateGuard(const PackStateGuard&) = delete;
    PackStateGuard& operator=(const PackStateGuard&) = delete;

    bool Ok() const { return m_ok; }

private:
    static constexpr std::size_t k_count = 8;
    static constexpr GLenum k_names[k_count] = {GL_PACK_SWAP_BYTES,   GL_PACK_LSB_FIRST,   GL_PACK_ROW_LENGTH,
                                                GL_PACK_SKIP_ROWS,    GL_PACK_SKIP_PIXELS, GL_PACK_ALIGNMENT,
                                                GL_PACK_IMAGE_HEIGHT, GL_PACK_SKIP_IMAGES};
    GLint m_saved[k_count] = {};
    GLint m_pack_buffer = 0;
    bool m_ok = true;
};

// The read-back on a level that query (pname, value) describes and read
// (format, type, image) copies from.
template <class Query, class Read> bool ReadBack(Query query, Read read, grImageBuffer& image) {
    image.Clear();

    GLint width = 0;
    GLint height = 0;
    GLint depth = 0;
    query(GL_TEXTURE_WIDTH, &width);
    CheckGLError("get texture level parameter (width)");
    query(GL_TEXTURE_HEIGHT, &height);
    CheckGLError("get texture level parameter (height)");
    query(GL_TEXTURE_DEPTH, &depth);
    CheckGLError("get texture level parameter (depth)");
    image.SetWidth(static_cast<std::uint32_t>(std::max(width, 0)));
    image.SetHeight(static_cast<std::uint32_t>(std::max(height, 0)));
    // Slices of 3D and array textures follow the first one, row after row.
    image.SetExtraRows(depth > 1 ? image.GetHeight() * static_cast<std::uint32_t>(depth - 1) : 0);
    image.SetPixelFormat(grPixelFormatFour);

    const channel_t* channel = nullptr;
    GLint type = GL_NONE;
    for (const channel_t& candidate : k_channels) {
        type = GL_NONE;
        query(candidate.type_query, &type);
        CheckGLError(candidate.type_label);
        if (type != GL_NONE) {
            channel = &candidate;
            break;
        }
    }
    std::uint8_t kind = 0;
    if (channel == nullptr || !ComponentKindOf(type, kind)) return false;
    image.SetComponentKind(kind);

    GLint bits = 0;
    query(channel->size_query, &bits);
    CheckGLError(channel->size_label);
    std::uint8_t size_code = 0;
    transfer_t transfer{};
    if (!BitSizeCode(static_cast<std::uint32_t>(std::max(bits, 0)), size_code) || !TransferFor(type, bits, transfer)) {
        std::cerr << channel->name << " size is not recognized." << std::endl;
        return false;
    }
    // The image describes the bytes in memory, which may be wider than GL's.
    BitSizeCode(transfer.bits, size_code);
    image.SetBitSize(size_code);

    image.SetFlags(0);
    if (!image.Allocate()) {
        std::cerr << "grTextureObject::GetTextureImage() img allocate fail." << std::endl;
        return false;
    }
    PackStateGuard pack(image);
    if (!pack.Ok()) return false;
    read(transfer.format, transfer.type, image);
    return !CheckGLError("get texture image");
}

}  // namespace

bool GetTextureImage(GLenum target, GLint level, grImageBuffer& image) {
    return ReadBack([&](GLenum pname, GLint* value) { glGetTexLevelParameteriv(target, level, pname, value); },
                    [&](GLenum format, GLenum type, grImageBuffer& into) {
                        glGetTexImage(target, level, format, type, into.GetData());
                    },
                    image);
}

bool grTextureObject::GetTextureImage(GLint level, grImageBuffer& image) {
    image.Clear();
    if (gl_ext::glGetTextureLevelParameteriv == nullptr || gl_ext::glGetTextureImage == nullptr) {
        std::cerr << "grTextureObject::GetTextureImage(): glGetTextureLevelParameteriv and "
                     "glGetTextureImage (GL 4.5) are not loaded."
                  << std::endl;
        return false;
    }
    const GLuint name = GetName();
    if (name == GL_INVALID_VALUE) {
        std::cerr << "grTextureObject::GetTextureImage(): no texture." << std::endl;
        return false;
    }
    return ReadBack(
        [&](GLenum pname, GLint* value) { gl_ext::glGetTextureLevelParameteriv(name, level, pname, value); },
        [&](GLenum format, GLenum type, grImageBuffer& into) {
            gl_ext::glGetTextureImage(name, level, format, type, static_cast<GLsizei>(into.GetBytes().size()),
                                      into.GetData());
        },
        image);
}

}  // namespace libgr
