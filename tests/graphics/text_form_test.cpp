// Text forms of the value types, the tagged value and the fillers.

#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "graphics/tagged_value.h"
#include "graphics/text_fillers.h"
#include "graphics/text_form.h"

using namespace libgr;

namespace {

template <class T>
std::string text(const T& v) {
    std::ostringstream os;
    os << v;
    return os.str();
}

}  // namespace

TEST(TextForm, NumbersUseFixedNotationAndTheStreamsPrecisionAndBase) {
    EXPECT_EQ(text(pos3{0.1f, -2, 100}), "pos3(0.100000, -2.000000, 100.000000)");
    EXPECT_EQ(text(qua{1, 2, 3, 4}), "qua(1.000000, 2.000000, 3.000000, 4.000000)");
    EXPECT_EQ(text(txc1{0.25f}), "txc1(0.250000)");
    EXPECT_EQ(text(dim2{640, 480}), "dim2(640, 480)");
    EXPECT_EQ(text(pos2l{-3, 4}), "pos2l(-3, 4)");
    EXPECT_EQ(text(dim3{1, 2, 4294967295u}), "dim3(1, 2, 4294967295)");
    std::ostringstream os;
    os << std::setprecision(2) << pos2{1.5f, 1e7f} << std::hex << ' ' << dim2{255, 16};
    EXPECT_EQ(os.str(), "pos2(1.50, 10000000.00) dim2(ff, 10)");
}

TEST(TextForm, NestedForms) {
    pst3w p{{0, 0, 0}, {0, 0, 0}, {1, 2, 3}};
    EXPECT_EQ(text(p),
              "pst3w(rev3(0.000000, 0.000000, 0.000000), rev3(0.000000, 0.000000, 0.000000), "
              "pos3(1.000000, 2.000000, 3.000000))");
    EXPECT_EQ(text(rot3{90, {0, 0, 1}}), "rot3(90.000000, dir3(0.000000, 0.000000, 1.000000))");
    EXPECT_EQ(text(irt3{{0, 0, 0}, {2, {1, 0, 0}}}),
              "irt3(rev3(0.000000, 0.000000, 0.000000), srt3(2.000000, dir3(1.000000, 0.000000, 0.000000)))");
    EXPECT_EQ(text(box2{{0, 1}, {2, 3}}), "box2(pos2(0.000000, 1.000000), pos2(2.000000, 3.000000))");
    EXPECT_EQ(text(projection{-0.08, 0.08, -0.06, 0.06, 0.1, 1000.1}),
              "projection(-0.080000, 0.080000, -0.060000, 0.060000, 0.100000, 1000.100000)");
}

TEST(TextForm, IdentityMatrixOnFourLines) {
    EXPECT_EQ(text(identity_mtx3w),
              "mtx3w(\t1.000000, 0.000000, 0.000000, 0.000000,\n"
              "\t0.000000, 1.000000, 0.000000, 0.000000,\n"
              "\t0.000000, 0.000000, 1.000000, 0.000000,\n"
              "\t0.000000, 0.000000, 0.000000, 1.000000)");
    mtx3w m = identity_mtx3w;
    m.m[12] = 5;  // translation: the fourth printed line (a column)
    EXPECT_NE(text(m).find("\t5.000000, 0.000000, 0.000000, 1.000000)"), std::string::npos);
}

TEST(TextForm, ByteColoursInHex) {
    EXPECT_EQ(text(col3aub{255, 128, 0, 255}), "col3aub(ff8000ff)");
    EXPECT_EQ(text(col3ub{1, 2, 3}), "col3ub(010203)");
    EXPECT_EQ(text(col1aub{0, 171}), "col1aub(00ab)");
    EXPECT_EQ(text(col1ub{10}), "col1ub(0a)");

    std::ostringstream base;
    base << std::showbase << col3aub{255, 128, 0, 255};
    EXPECT_EQ(base.str(), "0xcol3aub(ff8000ff)");
    std::ostringstream upper;
    upper << std::uppercase << col1ub{10};
    EXPECT_EQ(upper.str(), "col1ub(0A)");
    std::ostringstream left;
    left << std::left << std::setfill('*') << col1ub{10} << std::setw(3) << 7;
    EXPECT_EQ(left.str(), "col1ub(0a)7**");  // left adjust and fill survive, digits do not move
}

TEST(TextForm, CallersFlagsAreRestored) {
    std::ostringstream os;
    os << std::scientific << pos3{1, 2, 3} << ' ' << 1.5 << ' ';
    os << std::showbase << std::hex << col1ub{255} << ' ' << 255;
    EXPECT_EQ(os.str(), "pos3(1.000000, 2.000000, 3.000000) 1.500000e+00 0xcol1ub(ff) 0xff");
}

namespace {

// A stream buffer that fails after a given number of characters, so the
// stream throws in the middle of a form.
class FailingBuf : public std::streambuf {
public:
    explicit FailingBuf(int budget) : m_budget(budget) {}

protected:
    int_type overflow(int_type c) override { return m_budget-- > 0 ? c : traits_type::eof(); }

private:
    int m_budget;
};

}  // namespace

TEST(TextForm, FlagsRestoredWhenTheStreamThrows) {
    FailingBuf buf(8);
    std::ostream os(&buf);
    os.exceptions(std::ios_base::badbit);
    os << std::scientific << std::showbase;
    const auto before = os.flags();
    EXPECT_THROW(os << pos3({1, 2, 3}), std::ios_base::failure);
    EXPECT_EQ(os.flags(), before);
    os.clear();
    EXPECT_THROW(os << col3aub({1, 2, 3, 4}), std::ios_base::failure);
    EXPECT_EQ(os.flags(), before);
}

TEST(TextForm, TaggedValuesPrintWhatTheyHold) {
    EXPECT_EQ(text(make_tagged(1.0f)), "float(1.000000)");
    EXPECT_EQ(text(make_tagged(pos3{1, 2, 3})), text(pos3{1, 2, 3}));
    EXPECT_EQ(text(make_tagged(col1ub{10})), "col1ub(0a)");
    const projection j{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(text(make_tagged(j)), text(j));
    EXPECT_EQ(make_tagged(j).tag, 35u);
    EXPECT_EQ(make_tagged(col3aub{}).tag, 28u);
    // Silent tags: 24 (box2 here), 34 (line3d) and anything above 35.
    EXPECT_EQ(make_tagged(box2{}).tag, 24u);
    EXPECT_EQ(text(make_tagged(box2{})), "");
    EXPECT_EQ(text(make_tagged(line3d{})), "");
    tagged_value t = make_tagged(pos3{1, 2, 3});
    t.tag = 40;
    EXPECT_EQ(text(t), "");
}

TEST(TextFillers, RunRepeatSpaces) {
    std::ostringstream os;
    os << '[' << char_run{"abcdef", 3} << char_run{"xyz", 0} << '|' << char_repeat{'-', 4} << '|'
       << spaces{2} << spaces{0} << ']';
    EXPECT_EQ(os.str(), "[abc|----|  ]");
    const char with_nul[] = {'a', '\0', 'b'};
    std::ostringstream raw;
    raw << char_run{with_nul, 3};  // counts characters, does not stop at NUL
    EXPECT_EQ(raw.str(), std::string(with_nul, 3));
}
