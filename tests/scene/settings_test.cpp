// What the hall's settings may be: the environment's values in C's number syntax, their fallbacks, and the
// interval a lattice too large for its bounding gets.
#include "scene/hall_settings.h"
#include "scene/lattice_cost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

namespace {

using fields_t = std::tuple<std::int32_t, float, float, bool>;  // mode, bounding, interval, fog

fields_t read(const std::map<std::string, std::string>& env, std::string* warned) {
    std::ostringstream warn;
    const hall_settings_t s =
        read_hall_settings([&](const char* name) { return env.count(name) ? env.at(name).c_str() : nullptr; }, warn);
    *warned = warn.str();
    return {s.mode, s.bounding, s.interval, s.fog};
}

}  // namespace

TEST(HallSettings, EachValueInCNumberSyntaxOrItsFallbackWithOneWarning) {
    const std::string spaces(100 * 1024, ' ');
    const std::string mode = "is not 0, 1 or 2; using 2", bounding = "is not a finite number; using 1000",
                      interval = "is not a finite non-zero step; using 50";
    const std::tuple<std::string, std::string, fields_t, std::string> cases[] = {
        // variable, value, what is used (the defaults are 2, 1000, 50, on), the warning after "<variable>=<value> "
        {"HALL_MESH_MODE", "", {0, 1000, 50, true}, ""},  // no digits: 0
        {"HALL_MESH_MODE", "points", {0, 1000, 50, true}, ""},
        {"HALL_MESH_MODE", "0x1", {1, 1000, 50, true}, ""},
        {"HALL_MESH_MODE", "010", {2, 1000, 50, true}, mode},         // octal 8
        {"HALL_MESH_MODE", "08", {0, 1000, 50, true}, ""},            // octal 0, then a stray 8
        {"HALL_MESH_MODE", "-1", {2, 1000, 50, true}, mode},          // ULONG_MAX
        {"HALL_MESH_MODE", "4294967298", {2, 1000, 50, true}, mode},  // 2 if cut to 32 bits
        {"HALL_MESH_MODE", spaces + "1e39", {1, 1000, 50, true}, ""},
        {"HALL_MESH_BOUNDING", "", {2, 0, 50, true}, ""},
        {"HALL_MESH_BOUNDING", "  +300", {2, 300, 50, true}, ""},
        {"HALL_MESH_BOUNDING", "0x1p8", {2, 256, 50, true}, ""},
        {"HALL_MESH_BOUNDING", "-600abc", {2, -600, 50, true}, ""},
        {"HALL_MESH_BOUNDING", "1e39", {2, 1000, 50, true}, bounding},  // infinite only as a float
        {"HALL_MESH_BOUNDING", "-1e39", {2, 1000, 50, true}, bounding},
        {"HALL_MESH_BOUNDING", "nan", {2, 1000, 50, true}, bounding},
        {"HALL_MESH_INTERVAL", "0", {2, 1000, 50, true}, interval},
        {"HALL_MESH_INTERVAL", "-0", {2, 1000, 50, true}, interval},
        {"HALL_MESH_INTERVAL", "-25", {2, 1000, -25, true}, ""},
        {"HALL_MESH_INTERVAL", "1e-45", {2, 1000, 1e-45f, true}, ""},  // a denormal: the lattice widens it
        {"HALL_MESH_INTERVAL", "-inf", {2, 1000, 50, true}, interval},
        {"HALL_MESH_INTERVAL", "2.5e1", {2, 1000, 25, true}, ""},
        {"HALL_MESH_FOG", "", {2, 1000, 50, false}, ""},
        {"HALL_MESH_FOG", "0x0", {2, 1000, 50, false}, ""},
        {"HALL_MESH_FOG", "0.5", {2, 1000, 50, false}, ""},
        {"HALL_MESH_FOG", "-1", {2, 1000, 50, true}, ""},
        {"HALL_MESH_FOG", "7", {2, 1000, 50, true}, ""},
    };
    std::string warned;
    EXPECT_EQ(read({}, &warned), (fields_t{2, 1000, 50, true}));
    for (const auto& [variable, value, used, warning] : cases) {
        const std::string shown = value.size() > 20 ? value.substr(value.size() - 20) : value;
        EXPECT_EQ(read({{variable, value}}, &warned), used) << variable << "=" << shown;
        EXPECT_EQ(warned, warning.empty() ? "" : variable + "=" + value + " " + warning + "\n") << variable;
    }
    EXPECT_EQ(read({{"HALL_MESH_MODE", "7"}, {"HALL_MESH_BOUNDING", "inf"}, {"HALL_MESH_INTERVAL", "0"}}, &warned),
              (fields_t{2, 1000, 50, true}));
    EXPECT_EQ(warned, "HALL_MESH_MODE=7 " + mode + "\nHALL_MESH_BOUNDING=inf " + bounding + "\nHALL_MESH_INTERVAL=0 " +
                          interval + "\n");
}

// The smallest interval that fits: the lattice with it keeps every bound, the next smaller float does not. A lattice
// that fits keeps its interval's magnitude.
TEST(LatticeCost, ALatticeTooLargeGetsTheSmallestIntervalThatFits) {
    const auto fits = [](float b, float i, bool points) {
        return lattice_excess(lattice_cost(libgr::dir3{b, b, b}, libgr::dir3{i, i, i}, points)).empty();
    };
    EXPECT_EQ(smallest_fitting_interval(1000, 1, false), 1.0f);  // the largest the program promises
    EXPECT_EQ(smallest_fitting_interval(3000, -5, true), 5.0f);
    EXPECT_EQ(smallest_fitting_interval(0, 1e-30f, false), 1e-30f);  // no extent, no walk
    const std::tuple<float, float, bool> widened[] = {
        {1e6f, 50, false}, {1000, 1e-45f, false}, {1000, 1, true}, {3.4e38f, 1, false}, {1450, 1, false}};
    for (const auto& [b, i, points] : widened) {
        const float w = smallest_fitting_interval(b, i, points);
        EXPECT_TRUE(fits(b, w, points)) << b << " " << i << ": " << w;
        EXPECT_FALSE(fits(b, std::nextafter(w, 0.0f), points)) << b << " " << i << ": " << w;
    }
}
