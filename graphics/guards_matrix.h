#pragma once
// Saves the matrix of one mode for a scope: glPushMatrix/glPopMatrix, or,
// when stack checking is on and the GL stack is full, a copy in the mode's
// grMatrixStack record. The previous matrix mode is restored afterwards.

#include "graphics/guards_value.h"
#include "graphics/matrix_stack.h"

namespace libgr {

class grMatrixGuard {
public:
    // mode 0: the current matrix mode.
    explicit grMatrixGuard(GLenum mode);
    ~grMatrixGuard();
    grMatrixGuard(const grMatrixGuard&) = delete;
    grMatrixGuard& operator=(const grMatrixGuard&) = delete;

private:
    grMatrixModeGuard m_mode;
    grMatrixStack* m_stack;
    bool m_pushed;
};

}  // namespace libgr
