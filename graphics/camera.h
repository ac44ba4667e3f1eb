#pragma once
// Camera lens operations (perspective and projection live in
// graphics/values.h).

#include "graphics/values.h"

namespace libgr {

// aspect = w / h (double division).
perspective& set_aspect(perspective& p, double w, double h);

// f: focal length in millimetres on a 36 x 24 mm frame; sets the diagonal
// field of view 2 atan(half diagonal / f), half diagonal 21.633307652783937 mm.
perspective& set_focal_length(perspective& p, double f);

// Frustum bounds at the near plane for the lens: the diagonal field of view
// spread over width and height by the aspect ratio.
projection& to_projection(const perspective& p, projection& j);
inline projection to_projection(const perspective& p) {
    projection j;
    return to_projection(p, j);
}

// glFrustum(left, right, bottom, top, znear, zfar) on the current matrix.
void apply_frustum(const projection& j);

}  // namespace libgr
