#include "scene/hall_settings.h"

#include <cmath>
#include <cstdlib>

namespace {

unsigned long parse_unsigned(const char* text) { return std::strtoul(text, nullptr, 0); }

float parse_float(const char* text) { return static_cast<float>(std::strtod(text, nullptr)); }

}  // namespace

bool usable_bounding(float bounding) { return std::isfinite(bounding); }

bool usable_interval(float interval) { return std::isfinite(interval) && interval != 0.0f; }

hall_settings_t read_hall_settings(const env_lookup_t& lookup, std::ostream& warn) {
    hall_settings_t s;
    if (const char* text = lookup("HALL_MESH_MODE")) {
        const unsigned long mode = parse_unsigned(text);
        if (mode <= static_cast<unsigned long>(hall_stipple_mode)) {
            s.mode = static_cast<std::int32_t>(mode);
        } else {
            warn << "HALL_MESH_MODE=" << text << " is not 0, 1 or 2; using " << hall_default_mode << std::endl;
        }
    }
    if (const char* text = lookup("HALL_MESH_BOUNDING")) {
        const float bounding = parse_float(text);
        if (usable_bounding(bounding)) {
            s.bounding = bounding;
        } else {
            warn << "HALL_MESH_BOUNDING=" << text << " is not a finite number; using " << hall_default_bounding
                 << std::endl;
        }
    }
    if (const char* text = lookup("HALL_MESH_INTERVAL")) {
        const float interval = parse_float(text);
        if (usable_interval(interval)) {
            s.interval = interval;
        } else {
            warn << "HALL_MESH_INTERVAL=" << text << " is not a finite non-zero step; using " << hall_default_interval
                 << std::endl;
        }
    }
    if (const char* text = lookup("HALL_MESH_FOG")) s.fog = parse_unsigned(text) != 0;
    return s;
}
