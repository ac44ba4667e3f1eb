#include "graphics/values_gl.h"

#include <GL/gl.h>

namespace libgr {

void translate(const pos3& v) { glTranslatef(v.x, v.y, v.z); }

void rotate_gl(const rot3& q) { glRotatef(q.angle, q.axis.x, q.axis.y, q.axis.z); }

void colour(const col3a& c) { glColor4fv(&c.r); }

void vertex(const pos3& v) { glVertex3fv(&v.x); }

}  // namespace libgr
