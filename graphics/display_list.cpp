#include "graphics/display_list.h"

#include <iostream>

namespace libgr {

namespace {

void delete_list(GLuint name) { glDeleteLists(name, 1); }

}  // namespace

grDspList::grDspList(const grDspList& other) : grObject3D(), m_record(ShareName(other.m_record)) {}

grDspList& grDspList::operator=(const grDspList& other) {
    // Share first, so assigning a holder to itself cannot free the record.
    grSharedName* shared = ShareName(other.m_record);
    Release();
    m_record = shared;
    return *this;
}

grDspList::~grDspList() { Release(); }

bool grDspList::Compile(grObject3D* object) {
    if (!m_record) m_record = new grSharedName;
    if (!m_record->m_valid) {
        const GLuint name = glGenLists(1);
        if (name == 0) {
            // GL gives 0 only when it cannot name a list (e.g. inside glBegin).
            std::cerr << "grDspList::Compile: GL gave no display list name; nothing recorded" << std::endl;
            return false;
        }
        m_record->m_name = name;
        m_record->m_valid = true;
    }
    glNewList(m_record->m_name, GL_COMPILE);
    if (object) object->DrawBody();
    glEndList();
    return true;
}

void grDspList::DrawBody() {
    if (m_record && m_record->m_valid) glCallList(m_record->m_name);
}

GLuint grDspList::GetName() const { return (m_record && m_record->m_valid) ? m_record->m_name : GL_INVALID_VALUE; }

void grDspList::DeleteList() {
    if (m_record && m_record->m_valid) {
        glDeleteLists(m_record->m_name, 1);
        m_record->m_valid = false;
    }
}

void grDspList::Release() { ReleaseName(m_record, delete_list); }

}  // namespace libgr
