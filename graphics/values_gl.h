#pragma once
// Hands value types to the fixed-function GL on the current matrix / vertex.

#include "graphics/values.h"

namespace libgr {

void translate(const pos3& v);  // glTranslatef(x, y, z)
void rotate_gl(const rot3& q);  // glRotatef(angle, axis.x, axis.y, axis.z), degrees
void colour(const col3a& c);    // glColor4fv
void vertex(const pos3& v);     // glVertex3fv

}  // namespace libgr
