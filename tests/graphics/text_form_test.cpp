// Text forms of the value types, the tagged value and the fillers.

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "graphics/tagged_value.h"
#include "graphics/text_fillers.h"
#include "graphics/text_form.h"

using namespace libgr;

namespace {

// Everything inserted into one fresh stream, manipulators included.
template <class... T> std::string text(const T&... items) {
    std::ostringstream os;
    (os << ... << items);
    return os.str();
}

using cases_t = std::pair<std::string, std::string>;  // got, wanted

}  // namespace

TEST(TextForm, ValueTypesInFixedNotationWithTheStreamsPrecisionAndBase) {
    const cases_t cases[] = {
        {text(pos3{0.1f, -2, 100}), "pos3(0.100000, -2.000000, 100.000000)"},
        {text(dim2{640, 480}), "dim2(640, 480)"},
        {text(pos2l{-3, 4}), "pos2l(-3, 4)"},
        {text(std::setprecision(2), pos2{1.5f, 1e7f}, std::hex, ' ', dim2{255, 16}),
         "pos2(1.50, 10000000.00) dim2(ff, 10)"},
        {text(pst3w{{0, 0, 0}, {0, 0, 0}, {1, 2, 3}}),
         "pst3w(rev3(0.000000, 0.000000, 0.000000), rev3(0.000000, 0.000000, 0.000000), "
         "pos3(1.000000, 2.000000, 3.000000))"},
        {text(rot3{90, {0, 0, 1}}), "rot3(90.000000, dir3(0.000000, 0.000000, 1.000000))"},
        {text(projection{-0.08, 0.08, -0.06, 0.06, 0.1, 1000.1}),
         "projection(-0.080000, 0.080000, -0.060000, 0.060000, 0.100000, 1000.100000)"},
        {text(identity_mtx3w),
         "mtx3w(\t1.000000, 0.000000, 0.000000, 0.000000,\n\t0.000000, 1.000000, 0.000000, 0.000000,\n"
         "\t0.000000, 0.000000, 1.000000, 0.000000,\n\t0.000000, 0.000000, 0.000000, 1.000000)"},
        {text(std::setprecision(0), mtx3w{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}),
         "mtx3w(\t0, 1, 2, 3,\n\t4, 5, 6, 7,\n\t8, 9, 10, 11,\n\t12, 13, 14, 15)"},  // storage order
    };
    for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted);
}

TEST(TextForm, ByteColoursInHexAndTheCallersFlagsRestored) {
    const cases_t cases[] = {
        {text(col3aub{255, 128, 0, 255}), "col3aub(ff8000ff)"},
        {text(std::showbase, col3aub{255, 128, 0, 255}), "0xcol3aub(ff8000ff)"},
        {text(col3ub{1, 2, 3}), "col3ub(010203)"},
        {text(col1aub{0, 171}), "col1aub(00ab)"},
        {text(col1ub{10}), "col1ub(0a)"},
        {text(std::uppercase, col1ub{10}), "col1ub(0A)"},
        // Left adjustment and fill survive; the digits do not move.
        {text(std::left, std::setfill('*'), col1ub{10}, std::setw(3), 7), "col1ub(0a)7**"},
        {text(std::scientific, pos3{1, 2, 3}, ' ', 1.5, ' ', std::showbase, std::hex, col1ub{255}, ' ', 255),
         "pos3(1.000000, 2.000000, 3.000000) 1.500000e+00 0xcol1ub(ff) 0xff"},
    };
    for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted);
}

namespace {

// Fails after eight characters, so the stream throws in the middle of a form.
struct FailingBuf : std::streambuf {
    int budget = 8;
    int_type overflow(int_type c) override { return budget-- > 0 ? c : traits_type::eof(); }
};

}  // namespace

TEST(TextForm, FlagsRestoredWhenTheStreamThrows) {
    FailingBuf buf;
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

TEST(TextForm, TaggedValuesAndFillers) {
    const auto with_tag = [](std::uint32_t tag) {
        tagged_value t = make_tagged(pos3{1, 2, 3});
        t.tag = tag;
        return t;
    };
    const projection j{1, 2, 3, 4, 5, 6};
    const char with_nul[] = {'a', '\0', 'b'};
    const cases_t cases[] = {
        {text(make_tagged(1.0f)), "float(1.000000)"},
        {text(make_tagged(pos3{1, 2, 3})), text(pos3{1, 2, 3})},
        {text(make_tagged(j)), text(j)},
        {text(with_tag(24)), ""},
        {text(with_tag(40)), ""},
        {text('[', char_run{"abcdef", 3}, char_run{"xyz", 0}, '|', char_repeat{'-', 4}, '|', spaces{2}, spaces{0}, ']'),
         "[abc|----|  ]"},
        {text(char_run{with_nul, 3}), std::string(with_nul, 3)},  // counts, does not stop at NUL
    };
    for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted);
}
