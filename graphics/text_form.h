#pragma once
// Text forms of the libgr value types: "pos3(0.100000, -2.000000, 100.000000)".
//
// Float and integer forms switch the stream to fixed notation for their own
// duration (precision stays the caller's: 6 by default) and restore the
// caller's flags on the way out, exceptions included. Nested members print in
// their own forms. No form ends with a newline; mtx3w spans four lines, one
// column per line. Byte colours print two hex digits per byte, "0x" in front
// of the name when the stream has showbase, letter case from uppercase.

#include <ios>
#include <ostream>

#include "graphics/values.h"

namespace libgr {

// Records a stream's format flags and writes them back when destroyed.
// Only the flags: precision, width and fill are left alone.
class grFormatGuard {
public:
    explicit grFormatGuard(std::ios_base& s) : m_stream(s), m_flags(s.flags()) {}
    ~grFormatGuard() { m_stream.flags(m_flags); }
    grFormatGuard(const grFormatGuard&) = delete;
    grFormatGuard& operator=(const grFormatGuard&) = delete;

private:
    std::ios_base& m_stream;
    std::ios_base::fmtflags m_flags;
};

std::ostream& operator<<(std::ostream& os, const pos3& v);
std::ostream& operator<<(std::ostream& os, const dir3& v);
std::ostream& operator<<(std::ostream& os, const pos2& v);
std::ostream& operator<<(std::ostream& os, const dir2& v);
std::ostream& operator<<(std::ostream& os, const pos2l& v);
std::ostream& operator<<(std::ostream& os, const dir2l& v);
std::ostream& operator<<(std::ostream& os, const qua& v);
std::ostream& operator<<(std::ostream& os, const rot3& v);
std::ostream& operator<<(std::ostream& os, const plr3& v);
std::ostream& operator<<(std::ostream& os, const ang3& v);
std::ostream& operator<<(std::ostream& os, const rev3& v);
std::ostream& operator<<(std::ostream& os, const pst3w& v);
std::ostream& operator<<(std::ostream& os, const srt3& v);
std::ostream& operator<<(std::ostream& os, const irt3& v);
std::ostream& operator<<(std::ostream& os, const vec3w& v);
std::ostream& operator<<(std::ostream& os, const col3& v);
std::ostream& operator<<(std::ostream& os, const col3a& v);
std::ostream& operator<<(std::ostream& os, const txc1& v);
std::ostream& operator<<(std::ostream& os, const txc2& v);
std::ostream& operator<<(std::ostream& os, const txc2q& v);
std::ostream& operator<<(std::ostream& os, const txc3& v);
std::ostream& operator<<(std::ostream& os, const txc3q& v);
std::ostream& operator<<(std::ostream& os, const mtx3w& v);
std::ostream& operator<<(std::ostream& os, const box2& v);
std::ostream& operator<<(std::ostream& os, const box3& v);
std::ostream& operator<<(std::ostream& os, const dim2& v);
std::ostream& operator<<(std::ostream& os, const dim3& v);
std::ostream& operator<<(std::ostream& os, const col3aub& v);
std::ostream& operator<<(std::ostream& os, const col3ub& v);
std::ostream& operator<<(std::ostream& os, const col1aub& v);
std::ostream& operator<<(std::ostream& os, const col1ub& v);
std::ostream& operator<<(std::ostream& os, const surface& v);
std::ostream& operator<<(std::ostream& os, const line2d& v);
std::ostream& operator<<(std::ostream& os, const line3d& v);
std::ostream& operator<<(std::ostream& os, const projection& v);

// A plain float in the same style: "float(1.000000)".
struct float_form {
    float value;
};
std::ostream& operator<<(std::ostream& os, const float_form& v);

}  // namespace libgr
