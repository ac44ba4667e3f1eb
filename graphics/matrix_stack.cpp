#include "graphics/matrix_stack.h"

#include "gl_loader/gl_ext.h"

// GL 1.2 and later names; Windows' gl.h stops at 1.1.
#include <GL/glext.h>

#include <iostream>

namespace libgr {

namespace {

// Created before main, in this order, and alive until exit.
grMatrixStack g_matrixStacks[4] = {
    {GL_MODELVIEW, GL_MAX_MODELVIEW_STACK_DEPTH, GL_MODELVIEW_STACK_DEPTH, GL_MODELVIEW_MATRIX, 0, {}},
    {GL_PROJECTION, GL_MAX_PROJECTION_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, GL_PROJECTION_MATRIX, 0, {}},
    {GL_TEXTURE, GL_MAX_TEXTURE_STACK_DEPTH, GL_TEXTURE_STACK_DEPTH, GL_TEXTURE_MATRIX, 0, {}},
    {GL_COLOR, GL_MAX_COLOR_MATRIX_STACK_DEPTH, GL_COLOR_MATRIX_STACK_DEPTH, GL_COLOR_MATRIX, 0, {}},
};

bool g_matrixStackCheck = false;

// The colour matrix exists only with the imaging subset; querying its
// limit elsewhere would leave GL_INVALID_ENUM behind.
bool has_color_matrix() { return gl_ext_supported("GL_ARB_imaging") != 0; }

}  // namespace

void SetMatrixStackCheck(bool on) {
    g_matrixStackCheck = on;
    for (grMatrixStack& stack : g_matrixStacks) {
        stack.m_maxDepth = 0;
        if (!on) continue;
        if (stack.m_mode == GL_COLOR && !has_color_matrix()) continue;
        glGetIntegerv(stack.m_maxDepthQuery, &stack.m_maxDepth);
    }
}

bool IsMatrixStackCheck() { return g_matrixStackCheck; }

grMatrixStack* FindMatrixStack(GLenum mode) {
    if (mode == 0) {
        GLint current = 0;
        glGetIntegerv(GL_MATRIX_MODE, &current);
        mode = static_cast<GLenum>(current);
    }
    for (grMatrixStack& stack : g_matrixStacks) {
        if (stack.m_mode == mode) return &stack;
    }
    // Hexadecimal only for this value: later output keeps its own base.
    const std::ios_base::fmtflags flags = std::cout.flags();
    std::cout << std::hex << mode << ": unknown enum! fall back to modelview." << std::endl;
    std::cout.flags(flags);
    return &g_matrixStacks[0];
}

}  // namespace libgr
