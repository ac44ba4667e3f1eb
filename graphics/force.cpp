#include "graphics/force.h"

#include "graphics/values_ops.h"

namespace libgr {

force_t& fill(force_t& f, float s) {
    from_scalar(s, f.ro);
    from_scalar(s, f.ze);
    from_scalar(s, f.pf);
    from_scalar(s, f.nf);
    return f;
}

force_t& add_force(force_t& f, const dir3& p, const dir3& F) {
    dir3 m;
    cross(p, F, m);
    const float len = length(p);
    const float pv[3] = {p.x, p.y, p.z};
    const float fv[3] = {F.x, F.y, F.z};
    const float mv[3] = {m.x, m.y, m.z};
    float* ro[3] = {&f.ro.x, &f.ro.y, &f.ro.z};
    float* ze[3] = {&f.ze.x, &f.ze.y, &f.ze.z};
    float* pf[3] = {&f.pf.x, &f.pf.y, &f.pf.z};
    float* nf[3] = {&f.nf.x, &f.nf.y, &f.nf.z};
    for (int i = 0; i < 3; ++i) {
        *ro[i] += mv[i];
        *ze[i] += (1.0f - len) * fv[i];
        if (pv[i] < 0.0f)
            *nf[i] -= len * fv[i];
        else
            *pf[i] += len * fv[i];
    }
    return f;
}

void split(const force_t& f, dir3& out1, dir3& out2) {
    out1 = f.ro;
    out2 = f.ze;
}

}  // namespace libgr
