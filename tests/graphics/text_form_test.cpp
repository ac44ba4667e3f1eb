// Text forms of the value types, the tagged value and the fillers; the
// caller's stream flags come back, also when the stream throws.

#include <iomanip>
#include <sstream>
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

// Fails after eight characters, so the stream throws in the middle of a form.
struct FailingBuf : std::streambuf {
    int budget = 8;
    int_type overflow(int_type c) override { return budget-- > 0 ? c : traits_type::eof(); }
};

}  // namespace

TEST(TextForm, ValueTypesInFixedNotationWithTheStreamsPrecisionAndBase) {
    const cases_t cases[] = {
        {text(pos3{0.1f, -2, 100}), "pos3(0.100000, -2.000000, 100.000000)"},
        {text(pos2l{-3, 4}, std::setprecision(2), pos2{1.5f, 1e7f}, std::hex, ' ', dim2{255, 16}),
         "pos2l(-3, 4)pos2(1.50, 10000000.00) dim2(ff, 10)"},
        {text(rot3{90, {0, 0, 1}}), "rot3(90.000000, dir3(0.000000, 0.000000, 1.000000))"},
        {text(make_tagged(rot3{90, {0, 0, 1}})), text(rot3{90, {0, 0, 1}})},
        {text('[', char_run{"abcdef", 3}, char_repeat{'-', 2}, spaces{2}, ']'), "[abc--  ]"},
        {text(std::setprecision(0), mtx3w{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}),
         "mtx3w(\t0, 1, 2, 3,\n\t4, 5, 6, 7,\n\t8, 9, 10, 11,\n\t12, 13, 14, 15)"},  // storage order
        // Byte colours in hex digits, right-aligned whatever the caller set;
        // the caller's flags and fill come back.
        {text(col3aub{255, 128, 0, 255}, col3ub{1, 2, 3}, col1aub{0, 171}),
         "col3aub(ff8000ff)col3ub(010203)col1aub(00ab)"},
        {text(std::showbase, std::uppercase, col1ub{10}), "0xcol1ub(0A)"},
        {text(std::left, std::setfill('*'), col1ub{10}, std::setw(3), 7), "col1ub(0a)7**"},
        {text(std::scientific, pos3{1, 2, 3}, ' ', 1.5, ' ', std::showbase, std::hex, col1ub{255}, ' ', 255),
         "pos3(1.000000, 2.000000, 3.000000) 1.500000e+00 0xcol1ub(ff) 0xff"},
    };
    for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted);
}

TEST(TextForm, FlagsRestoredWhenTheStreamThrows) {
    for (const bool bytes : {false, true}) {
        FailingBuf buf;
        std::ostream os(&buf);
        os.exceptions(std::ios_base::badbit);
        os << std::scientific << std::showbase;
        const auto before = os.flags();
        EXPECT_THROW(bytes ? os << col3aub({1, 2, 3, 4}) : os << pos3({1, 2, 3}), std::ios_base::failure);
        EXPECT_EQ(os.flags(), before);
    }
}
