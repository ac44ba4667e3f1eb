#include "graphics/camera.h"

#include <GL/gl.h>

#include <cmath>

namespace libgr {

perspective& set_aspect(perspective& p, double w, double h) {
    p.aspect = w / h;
    return p;
}

perspective& set_focal_length(perspective& p, double f) {
    p.fov = 2.0 * std::atan2(21.633307652783937, f);
    return p;
}

projection& to_projection(const perspective& p, projection& j) {
    const double fov = static_cast<float>(p.fov);
    const double t = std::tan(fov / 2.0);
    // Half height at the far plane: half diagonal over the diagonal-to-height ratio.
    const double hd = t * p.zfar / std::sqrt(p.aspect * p.aspect + 1.0);
    const double k = p.znear / p.zfar;  // scales the far-plane extents to the near plane
    j.right = hd * p.aspect * k;
    j.left = -j.right;
    j.top = hd * k;
    j.bottom = -j.top;
    j.znear = p.znear;
    j.zfar = p.zfar;
    return j;
}

void apply_frustum(const projection& j) { glFrustum(j.left, j.right, j.bottom, j.top, j.znear, j.zfar); }

}  // namespace libgr
