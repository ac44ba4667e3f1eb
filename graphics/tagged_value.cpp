#include "graphics/tagged_value.h"

#include "graphics/text_form.h"

namespace libgr {

#define LIBGR_MAKE_TAGGED(type)               \
    tagged_value make_tagged(const type& v) { \
        tagged_value t{};                     \
        t.tag = tag_##type;                   \
        t.payload.type##_v = v;               \
        return t;                             \
    }

tagged_value make_tagged(float v) {
    tagged_value t{};
    t.tag = tag_float;
    t.payload.f = v;
    return t;
}
LIBGR_MAKE_TAGGED(pos3)
LIBGR_MAKE_TAGGED(dir3)
LIBGR_MAKE_TAGGED(pos2)
LIBGR_MAKE_TAGGED(dir2)
LIBGR_MAKE_TAGGED(pos2l)
LIBGR_MAKE_TAGGED(dir2l)
LIBGR_MAKE_TAGGED(qua)
LIBGR_MAKE_TAGGED(rot3)
LIBGR_MAKE_TAGGED(pst3w)
LIBGR_MAKE_TAGGED(plr3)
LIBGR_MAKE_TAGGED(ang3)
LIBGR_MAKE_TAGGED(rev3)
LIBGR_MAKE_TAGGED(srt3)
LIBGR_MAKE_TAGGED(irt3)
LIBGR_MAKE_TAGGED(vec3w)
LIBGR_MAKE_TAGGED(col3)
LIBGR_MAKE_TAGGED(col3a)
LIBGR_MAKE_TAGGED(txc1)
LIBGR_MAKE_TAGGED(txc2)
LIBGR_MAKE_TAGGED(txc2q)
LIBGR_MAKE_TAGGED(txc3)
LIBGR_MAKE_TAGGED(txc3q)
LIBGR_MAKE_TAGGED(mtx3w)
LIBGR_MAKE_TAGGED(box2)
LIBGR_MAKE_TAGGED(box3)
LIBGR_MAKE_TAGGED(dim2)
LIBGR_MAKE_TAGGED(dim3)
LIBGR_MAKE_TAGGED(col3aub)
LIBGR_MAKE_TAGGED(col3ub)
LIBGR_MAKE_TAGGED(col1aub)
LIBGR_MAKE_TAGGED(col1ub)
LIBGR_MAKE_TAGGED(surface)
LIBGR_MAKE_TAGGED(line2d)
LIBGR_MAKE_TAGGED(line3d)
LIBGR_MAKE_TAGGED(projection)

#undef LIBGR_MAKE_TAGGED

std::ostream& operator<<(std::ostream& os, const tagged_value& v) {
    const tagged_payload& p = v.payload;
    switch (v.tag) {
    case tag_float: return os << float_form{p.f};
    case tag_pos3: return os << p.pos3_v;
    case tag_dir3: return os << p.dir3_v;
    case tag_pos2: return os << p.pos2_v;
    case tag_dir2: return os << p.dir2_v;
    case tag_pos2l: return os << p.pos2l_v;
    case tag_dir2l: return os << p.dir2l_v;
    case tag_qua: return os << p.qua_v;
    case tag_rot3: return os << p.rot3_v;
    case tag_pst3w: return os << p.pst3w_v;
    case tag_plr3: return os << p.plr3_v;
    case tag_ang3: return os << p.ang3_v;
    case tag_rev3: return os << p.rev3_v;
    case tag_srt3: return os << p.srt3_v;
    case tag_irt3: return os << p.irt3_v;
    case tag_vec3w: return os << p.vec3w_v;
    case tag_col3: return os << p.col3_v;
    case tag_col3a: return os << p.col3a_v;
    case tag_txc1: return os << p.txc1_v;
    case tag_txc2: return os << p.txc2_v;
    case tag_txc2q: return os << p.txc2q_v;
    case tag_txc3: return os << p.txc3_v;
    case tag_txc3q: return os << p.txc3q_v;
    case tag_mtx3w: return os << p.mtx3w_v;
    case tag_col3aub: return os << p.col3aub_v;
    case tag_col3ub: return os << p.col3ub_v;
    case tag_col1aub: return os << p.col1aub_v;
    case tag_col1ub: return os << p.col1ub_v;
    case tag_projection: return os << p.projection_v;
    default: return os;  // 24-27, 32-34 and unknown tags print nothing
    }
}

}  // namespace libgr
