#pragma once
// The hall lattice's initial settings, read once from the environment when
// the scene is built: HALL_MESH_MODE, HALL_MESH_BOUNDING, HALL_MESH_INTERVAL
// and HALL_MESH_FOG. An unset variable gives the default; a set one is
// always parsed, an empty value included (it reads as 0).

#include <cstdint>
#include <functional>
#include <ostream>

// Looks a variable up by name; null when it is not set (std::getenv).
using env_lookup_t = std::function<const char*(const char*)>;

// Mesh draw modes (m_meshmode).
enum : std::int32_t {
    hall_line_mode = 0,
    hall_point_mode = 1,
    hall_stipple_mode = 2,
};

constexpr std::int32_t hall_default_mode = hall_stipple_mode;
constexpr float hall_default_bounding = 1000.0f;  // half edge of the hall cube, units
constexpr float hall_default_interval = 50.0f;    // lattice spacing, units
constexpr bool hall_default_fog = true;

struct hall_settings_t {
    std::int32_t mode = hall_default_mode;
    float bounding = hall_default_bounding;
    float interval = hall_default_interval;
    bool fog = hall_default_fog;
};

// The four variables in the order MODE, BOUNDING, INTERVAL, FOG.
// Integers: strtoul with base 0 ("0x" hex, leading "0" octal, no digits 0).
// Floats: strtod rounded to float; zero and negative values are kept (the
// lattice uses magnitudes). Values the program cannot use fall back to the
// default with one line on warn each: a mode outside 0..2, a bounding that
// is not finite, an interval that is zero or not finite.
hall_settings_t read_hall_settings(const env_lookup_t& lookup, std::ostream& warn);

// The checks the lattice itself makes before counting its walks.
bool usable_bounding(float bounding);
bool usable_interval(float interval);
