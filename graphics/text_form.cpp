#include "graphics/text_form.h"

#include <cstdint>

namespace libgr {

namespace {

// Fixed notation for the duration of one form; the guard puts the caller's
// flags back, also when the stream throws.
class FixedScope {
public:
    explicit FixedScope(std::ostream& os) : m_guard(os) { os.setf(std::ios_base::fixed, std::ios_base::floatfield); }

private:
    grFormatGuard m_guard;
};

void put(std::ostream& os, float v) { os << static_cast<double>(v); }
void put(std::ostream& os, double v) { os << v; }
void put(std::ostream& os, std::int32_t v) { os << static_cast<long>(v); }
void put(std::ostream& os, std::uint32_t v) { os << static_cast<unsigned long>(v); }
template <class T> void put(std::ostream& os, const T& nested) { os << nested; }

// name(first, rest...)
template <class First, class... Rest>
std::ostream& form(std::ostream& os, const char* name, const First& first, const Rest&... rest) {
    FixedScope fixed(os);
    os << name << '(';
    put(os, first);
    ((os << ", ", put(os, rest)), ...);
    return os << ')';
}

// Restores the fill character (the format guard keeps only the flags).
class FillGuard {
public:
    explicit FillGuard(std::ostream& os) : m_stream(os), m_fill(os.fill()) {}
    ~FillGuard() { m_stream.fill(m_fill); }

private:
    std::ostream& m_stream;
    char m_fill;
};

// name(hhhh...): two hex digits per byte, no separators. "0x" goes in front of
// the name instead of in front of every byte.
std::ostream& byte_form(std::ostream& os, const char* name, std::initializer_list<std::uint8_t> bytes) {
    grFormatGuard outer(os);
    if (os.flags() & std::ios_base::showbase) os << "0x";
    os.unsetf(std::ios_base::showbase);
    os << name << '(';
    for (std::uint8_t b : bytes) {
        grFormatGuard flags(os);
        FillGuard fill(os);
        os.setf(std::ios_base::hex, std::ios_base::basefield);
        // Right-aligned, or a caller's std::left would turn 0a into a0.
        os.setf(std::ios_base::right, std::ios_base::adjustfield);
        os.fill('0');
        os.width(2);
        os << static_cast<unsigned>(b);
    }
    return os << ')';
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const pos3& v) { return form(os, "pos3", v.x, v.y, v.z); }
std::ostream& operator<<(std::ostream& os, const dir3& v) { return form(os, "dir3", v.x, v.y, v.z); }
std::ostream& operator<<(std::ostream& os, const pos2& v) { return form(os, "pos2", v.x, v.y); }
std::ostream& operator<<(std::ostream& os, const dir2& v) { return form(os, "dir2", v.x, v.y); }
std::ostream& operator<<(std::ostream& os, const pos2l& v) { return form(os, "pos2l", v.x, v.y); }
std::ostream& operator<<(std::ostream& os, const dir2l& v) { return form(os, "dir2l", v.x, v.y); }
std::ostream& operator<<(std::ostream& os, const qua& v) { return form(os, "qua", v.w, v.x, v.y, v.z); }
std::ostream& operator<<(std::ostream& os, const rot3& v) { return form(os, "rot3", v.angle, v.axis); }
std::ostream& operator<<(std::ostream& os, const plr3& v) { return form(os, "plr3", v.radius, v.azimuth, v.elevation); }
std::ostream& operator<<(std::ostream& os, const ang3& v) { return form(os, "ang3", v.yaw, v.pitch, v.roll); }
std::ostream& operator<<(std::ostream& os, const rev3& v) { return form(os, "rev3", v.x, v.y, v.z); }
std::ostream& operator<<(std::ostream& os, const pst3w& v) { return form(os, "pst3w", v.rev, v.inv, v.pos); }
std::ostream& operator<<(std::ostream& os, const srt3& v) { return form(os, "srt3", v.length, v.dir); }
std::ostream& operator<<(std::ostream& os, const irt3& v) { return form(os, "irt3", v.rev, v.srt); }
std::ostream& operator<<(std::ostream& os, const vec3w& v) { return form(os, "vec3w", v.x, v.y, v.z, v.w); }
std::ostream& operator<<(std::ostream& os, const col3& v) { return form(os, "col3", v.r, v.g, v.b); }
std::ostream& operator<<(std::ostream& os, const col3a& v) { return form(os, "col3a", v.r, v.g, v.b, v.a); }
std::ostream& operator<<(std::ostream& os, const txc1& v) { return form(os, "txc1", v.s); }
std::ostream& operator<<(std::ostream& os, const txc2& v) { return form(os, "txc2", v.s, v.t); }
std::ostream& operator<<(std::ostream& os, const txc2q& v) { return form(os, "txc2q", v.s, v.t, v.q); }
std::ostream& operator<<(std::ostream& os, const txc3& v) { return form(os, "txc3", v.s, v.t, v.r); }
std::ostream& operator<<(std::ostream& os, const txc3q& v) { return form(os, "txc3q", v.s, v.t, v.r, v.q); }

// One column per line: "mtx3w(\t" e0, e1, e2, e3 ",\n\t" ... e15 ")".
std::ostream& operator<<(std::ostream& os, const mtx3w& v) {
    FixedScope fixed(os);
    os << "mtx3w(\t";
    for (int i = 0; i < 16; ++i) {
        put(os, v.m[i]);
        if (i == 15) break;
        os << (i % 4 == 3 ? ",\n\t" : ", ");
    }
    return os << ')';
}

std::ostream& operator<<(std::ostream& os, const box2& v) { return form(os, "box2", v.first, v.second); }
std::ostream& operator<<(std::ostream& os, const box3& v) { return form(os, "box3", v.first, v.second); }
std::ostream& operator<<(std::ostream& os, const dim2& v) { return form(os, "dim2", v.width, v.height); }
std::ostream& operator<<(std::ostream& os, const dim3& v) { return form(os, "dim3", v.width, v.height, v.depth); }

std::ostream& operator<<(std::ostream& os, const col3aub& v) { return byte_form(os, "col3aub", {v.r, v.g, v.b, v.a}); }
std::ostream& operator<<(std::ostream& os, const col3ub& v) { return byte_form(os, "col3ub", {v.r, v.g, v.b}); }
std::ostream& operator<<(std::ostream& os, const col1aub& v) { return byte_form(os, "col1aub", {v.l, v.a}); }
std::ostream& operator<<(std::ostream& os, const col1ub& v) { return byte_form(os, "col1ub", {v.l}); }

std::ostream& operator<<(std::ostream& os, const surface& v) { return form(os, "surface", v.a, v.b, v.c, v.d); }
std::ostream& operator<<(std::ostream& os, const line2d& v) { return form(os, "line2d", v.a, v.b, v.c); }
std::ostream& operator<<(std::ostream& os, const line3d& v) { return form(os, "line3d", v.dir, v.frame, v.inv_frame); }
std::ostream& operator<<(std::ostream& os, const projection& v) {
    return form(os, "projection", v.left, v.right, v.bottom, v.top, v.znear, v.zfar);
}

std::ostream& operator<<(std::ostream& os, const float_form& v) { return form(os, "float", v.value); }

}  // namespace libgr
