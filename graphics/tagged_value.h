#pragma once
// A value of any libgr value type together with a tag naming it; printing it
// prints the held value in its own text form.
//
// Tags 24-27 hold box2, box3, dim2, dim3 and 32-34 hold surface, line2d,
// line3d: those, and any tag above 35, print nothing.

#include <cstdint>
#include <ostream>

#include "graphics/values.h"

namespace libgr {

// One value type (or tag) a line reads as a table.
// clang-format off
enum tagged_tag : std::uint32_t {
    tag_float = 0, tag_pos3, tag_dir3, tag_pos2, tag_dir2, tag_pos2l, tag_dir2l, tag_qua,
    tag_rot3, tag_pst3w, tag_plr3, tag_ang3, tag_rev3, tag_srt3, tag_irt3, tag_vec3w,
    tag_col3, tag_col3a, tag_txc1, tag_txc2, tag_txc2q, tag_txc3, tag_txc3q, tag_mtx3w,
    tag_box2, tag_box3, tag_dim2, tag_dim3,
    tag_col3aub, tag_col3ub, tag_col1aub, tag_col1ub,
    tag_surface, tag_line2d, tag_line3d,
    tag_projection,
};
static_assert(tag_mtx3w == 23 && tag_col3aub == 28 && tag_projection == 35, "tag numbers are fixed");

union tagged_payload {
    float f;
    pos3 pos3_v; dir3 dir3_v; pos2 pos2_v; dir2 dir2_v; pos2l pos2l_v; dir2l dir2l_v;
    qua qua_v; rot3 rot3_v; pst3w pst3w_v; plr3 plr3_v; ang3 ang3_v; rev3 rev3_v;
    srt3 srt3_v; irt3 irt3_v; vec3w vec3w_v; col3 col3_v; col3a col3a_v;
    txc1 txc1_v; txc2 txc2_v; txc2q txc2q_v; txc3 txc3_v; txc3q txc3q_v; mtx3w mtx3w_v;
    box2 box2_v; box3 box3_v; dim2 dim2_v; dim3 dim3_v;
    col3aub col3aub_v; col3ub col3ub_v; col1aub col1aub_v; col1ub col1ub_v;
    surface surface_v; line2d line2d_v; line3d line3d_v;
    projection projection_v;
};
// clang-format on
static_assert(alignof(tagged_payload) == alignof(double), "payload aligned for doubles");

struct tagged_value {
    std::uint32_t tag;
    tagged_payload payload;
};

// One per value type: the tag and the payload member that go with it.
tagged_value make_tagged(float v);
tagged_value make_tagged(const pos3& v);
tagged_value make_tagged(const dir3& v);
tagged_value make_tagged(const pos2& v);
tagged_value make_tagged(const dir2& v);
tagged_value make_tagged(const pos2l& v);
tagged_value make_tagged(const dir2l& v);
tagged_value make_tagged(const qua& v);
tagged_value make_tagged(const rot3& v);
tagged_value make_tagged(const pst3w& v);
tagged_value make_tagged(const plr3& v);
tagged_value make_tagged(const ang3& v);
tagged_value make_tagged(const rev3& v);
tagged_value make_tagged(const srt3& v);
tagged_value make_tagged(const irt3& v);
tagged_value make_tagged(const vec3w& v);
tagged_value make_tagged(const col3& v);
tagged_value make_tagged(const col3a& v);
tagged_value make_tagged(const txc1& v);
tagged_value make_tagged(const txc2& v);
tagged_value make_tagged(const txc2q& v);
tagged_value make_tagged(const txc3& v);
tagged_value make_tagged(const txc3q& v);
tagged_value make_tagged(const mtx3w& v);
tagged_value make_tagged(const box2& v);
tagged_value make_tagged(const box3& v);
tagged_value make_tagged(const dim2& v);
tagged_value make_tagged(const dim3& v);
tagged_value make_tagged(const col3aub& v);
tagged_value make_tagged(const col3ub& v);
tagged_value make_tagged(const col1aub& v);
tagged_value make_tagged(const col1ub& v);
tagged_value make_tagged(const surface& v);
tagged_value make_tagged(const line2d& v);
tagged_value make_tagged(const line3d& v);
tagged_value make_tagged(const projection& v);

std::ostream& operator<<(std::ostream& os, const tagged_value& v);

}  // namespace libgr
