#include "shell/wall_clock.h"

#include "shell/platform_clock.h"

namespace {

wall_clock_source_t s_source = platform_wall_msec;

}  // namespace

std::uint32_t wall_clock_msec() { return s_source(); }

wall_clock_source_t set_wall_clock_source(wall_clock_source_t source) {
    const wall_clock_source_t previous = s_source;
    s_source = source != nullptr ? source : platform_wall_msec;
    return previous;
}
