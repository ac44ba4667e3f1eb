#pragma once
// A GL object name shared by several holders (display lists, texture
// objects). The record lives on the heap; the last holder to let go deletes
// the GL object and the record.

#include <GL/gl.h>

#include <cstdint>

namespace libgr {

struct grSharedName {
    std::uint32_t m_count = 1;
    GLuint m_name = 0;
    bool m_valid = false;  // false until a name has been generated
};

// One more holder of record (null stays null).
inline grSharedName* ShareName(grSharedName* record) {
    if (record) ++record->m_count;
    return record;
}

// The holder lets go: when it was the last one, deleteObject(name) runs for
// a valid name and the record is freed. record becomes null either way.
template <class DeleteObject> void ReleaseName(grSharedName*& record, DeleteObject deleteObject) noexcept {
    grSharedName* held = record;
    record = nullptr;
    if (!held) return;
    if (--held->m_count != 0) return;
    if (held->m_valid) deleteObject(held->m_name);
    delete held;
}

}  // namespace libgr
