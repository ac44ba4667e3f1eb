#include "graphics/guards_matrix.h"

namespace libgr {

grMatrixGuard::grMatrixGuard(GLenum mode) : m_mode(mode), m_stack(FindMatrixStack(mode)), m_pushed(false) {
    bool room = true;
    if (m_stack->m_maxDepth != 0) {
        GLint depth = 0;
        glGetIntegerv(m_stack->m_depthQuery, &depth);
        room = m_stack->m_maxDepth > depth;
    }
    if (room) {
        glPushMatrix();
        m_pushed = true;
    } else {
        m_stack->m_snapshots.emplace_back();
        glGetFloatv(m_stack->m_matrixQuery, m_stack->m_snapshots.back().data());
    }
}

grMatrixGuard::~grMatrixGuard() {
    if (m_pushed) {
        glPopMatrix();
    } else if (!m_stack->m_snapshots.empty()) {
        glLoadMatrixf(m_stack->m_snapshots.back().data());
        m_stack->m_snapshots.pop_back();
    }
    // m_mode restores the previous matrix mode after this body.
}

}  // namespace libgr
