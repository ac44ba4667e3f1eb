#include "graphics/texture_object.h"

#include "gl_loader/gl_ext.h"
#include "graphics/gl_tables.h"

// GL 1.2 and later names; Windows' gl.h stops at 1.1.
#include <GL/glext.h>

#include <algorithm>
#include <iostream>
#include <iterator>

namespace libgr {

namespace {

void delete_texture(GLuint name) { glDeleteTextures(1, &name); }

// The texture's internal format at level, read with it bound; the binding
// is put back.
GLint internal_format(GLenum target, GLuint name, GLint level) {
    GLint previous = 0;
    glGetIntegerv(TargetBinding(target), &previous);
    glBindTexture(target, name);
    GLint internal = 0;
    const GLenum face = target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X : target;
    glGetTexLevelParameteriv(face, level, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    glBindTexture(target, static_cast<GLuint>(previous));
    return internal;
}

// The format an image unit takes for a texture of this internal format:
// the sized formats of GL 4.2's image format table as they are, the
// unsized red, rg and rgba with 8 bits; GL_NONE for the rest (luminance,
// alpha, intensity and rgb have no image format).
GLenum image_unit_format(GLint internal) {
    // clang-format off
    static const GLenum sized[] = {
        GL_RGBA32F, GL_RGBA16F, GL_RG32F, GL_RG16F, GL_R11F_G11F_B10F, GL_R32F, GL_R16F,
        GL_RGBA32UI, GL_RGBA16UI, GL_RGB10_A2UI, GL_RGBA8UI, GL_RG32UI, GL_RG16UI, GL_RG8UI, GL_R32UI, GL_R16UI,
        GL_R8UI, GL_RGBA32I, GL_RGBA16I, GL_RGBA8I, GL_RG32I, GL_RG16I, GL_RG8I, GL_R32I, GL_R16I, GL_R8I,
        GL_RGBA16, GL_RGB10_A2, GL_RGBA8, GL_RG16, GL_RG8, GL_R16, GL_R8,
        GL_RGBA16_SNORM, GL_RGBA8_SNORM, GL_RG16_SNORM, GL_RG8_SNORM, GL_R16_SNORM, GL_R8_SNORM};
    // clang-format on
    switch (internal) {
    case GL_RED: return GL_R8;
    case GL_RG: return GL_RG8;
    case GL_RGBA: return GL_RGBA8;
    default: break;
    }
    const GLenum* end = std::end(sized);
    return std::find(std::begin(sized), end, static_cast<GLenum>(internal)) != end ? static_cast<GLenum>(internal)
                                                                                   : GL_NONE;
}

}  // namespace

grTextureObject::grTextureObject(const grTextureObject& other)
    : grTexturableObject(),
      m_record(ShareName(other.m_record)),
      m_target(other.m_target),
      m_loaded(other.m_loaded),
      m_source(other.m_source) {}

grTextureObject& grTextureObject::operator=(const grTextureObject& other) {
    // Share first, so assigning a holder to itself cannot free the record.
    grSharedName* shared = ShareName(other.m_record);
    ReleaseName(m_record, delete_texture);
    m_record = shared;
    m_target = other.m_target;
    m_loaded = other.m_loaded;
    m_source = other.m_source;
    return *this;
}

grTextureObject::~grTextureObject() { ReleaseName(m_record, delete_texture); }

bool grTextureObject::Create(grTexturable& source) {
    const unsigned dimension = source.GetDimension();
    const GLenum target = DimensionToTarget(dimension);
    if (target == GL_INVALID_VALUE) {
        std::cerr << "grTextureObject::Create: dimension " << dimension << " has no texture target; nothing created"
                  << std::endl;
        return false;
    }
    if (!m_record) m_record = new grSharedName;
    if (!m_record->m_valid) {
        // GL names nothing when it cannot (e.g. inside glBegin); binding 0
        // would load the image into the default texture instead.
        GLuint name = 0;
        glGenTextures(1, &name);
        if (name == 0) {
            std::cerr << "grTextureObject::Create: GL gave no texture name; nothing created" << std::endl;
            return false;
        }
        m_record->m_name = name;
        m_record->m_valid = true;
    }
    m_target = target;
    glBindTexture(m_target, m_record->m_name);
    source.Apply();
    m_loaded = true;
    m_source = &source;
    return true;
}

unsigned grTextureObject::GetDimension() const { return TargetToDimension(m_target); }

void grTextureObject::Apply() {
    if (!m_record) return;
    glEnable(m_target);
    glBindTexture(m_target, GetName());
}

void grTextureObject::Refresh() {
    if (!m_loaded) return;
    glBindTexture(m_target, GetName());
    m_source->Refresh();
}

bool grTextureObject::IsLoaded() const { return m_loaded; }

void grTextureObject::Unapply() {
    if (!m_record) return;
    glDisable(m_target);
    glBindTexture(m_target, 0);
}

void grTextureObject::Release() {
    if (!m_loaded) return;
    ReleaseName(m_record, delete_texture);
    m_target = GL_INVALID_VALUE;
    m_loaded = false;
    m_source = nullptr;
}

bool grTextureObject::IsResident() const {
    if (!m_record || !m_record->m_valid) return false;
    // GL writes the per-texture flag only when the answer is "not all".
    GLboolean flag = GL_FALSE;
    const GLboolean all = glAreTexturesResident(1, &m_record->m_name, &flag);
    return all == GL_TRUE || flag == GL_TRUE;
}

void grTextureObject::BindImage(GLuint unit, GLint level, GLenum access) {
    if (!m_loaded || !gl_ext::glBindImageTexture) return;
    // The pixel format a texture was uploaded in (GL_LUMINANCE, ...) is no
    // image format; the texture's own internal format may be.
    const GLint internal = internal_format(m_target, GetName(), level);
    const GLenum format = image_unit_format(internal);
    if (format == GL_NONE) {
        std::cerr << "grTextureObject::BindImage: internal format 0x" << std::hex << internal << std::dec
                  << " has no image unit format; image not bound" << std::endl;
        return;
    }
    gl_ext::glBindImageTexture(unit, GetName(), level, GL_FALSE, 0, access, format);
}

void grTextureObject::UnbindImage(GLuint unit) {
    if (!m_record || !gl_ext::glBindImageTexture) return;
    gl_ext::glBindImageTexture(unit, 0, 0, GL_FALSE, 0, GL_READ_ONLY, GL_R8);
}

GLuint grTextureObject::GetName() const {
    return (m_record && m_record->m_valid) ? m_record->m_name : GL_INVALID_VALUE;
}

}  // namespace libgr
