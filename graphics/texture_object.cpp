#include "graphics/texture_object.h"

#include "gl_loader/gl_ext.h"
#include "graphics/gl_tables.h"

// GL 1.2 and later names; Windows' gl.h stops at 1.1.
#include <GL/glext.h>

#include <iostream>

namespace libgr {

namespace {

void delete_texture(GLuint name) { glDeleteTextures(1, &name); }

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
    if (!m_record || !gl_ext::glBindImageTexture) return;
    const auto* image = dynamic_cast<const grTexturableImageGL*>(m_source);
    if (!image) {
        std::cerr << "grTextureObject::BindImage: the source has no pixel format; image not bound" << std::endl;
        return;
    }
    gl_ext::glBindImageTexture(unit, GetName(), level, GL_FALSE, 0, access, image->GetFormat());
}

void grTextureObject::UnbindImage(GLuint unit) {
    if (!m_record || !gl_ext::glBindImageTexture) return;
    gl_ext::glBindImageTexture(unit, 0, 0, GL_FALSE, 0, GL_READ_ONLY, GL_R8);
}

GLuint grTextureObject::GetName() const {
    return (m_record && m_record->m_valid) ? m_record->m_name : GL_INVALID_VALUE;
}

}  // namespace libgr
