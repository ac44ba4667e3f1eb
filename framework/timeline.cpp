#include "framework/timeline.h"

#include "framework/events.h"

void build_fixevents_from(const event_list_t& events, std::vector<event_coords_t>& fixevents) {
    fixevents.resize(events.size());
    event_coords_t c;
    std::uint32_t t = 0;  // absolute time of the element, ms (sums wrap like demo time)
    std::size_t k = 0;
    for (const event_pair_t& p : events) {
        t += static_cast<std::uint32_t>(p.first);
        // The base must be the state at the event's time, so that selecting
        // this snapshot at time t continues the path from there.
        c.advance_base(t);
        if (p.second) apply_event(*p.second, c);
        // The snapshot's current state includes its own event.
        c.update_current(t);
        fixevents[k++] = c;
    }
}

event_coords_t step_timeline_at(const std::vector<event_coords_t>& fixevents, std::uint32_t& fixidx,
                                event_coords_t& coords, std::uint32_t t) {
    std::uint32_t i = 0;
    while (i < fixevents.size() && fixevents[i].m_msec <= t) ++i;
    if (i != fixidx) {
        fixidx = i;
        // Before the first snapshot there is nothing to load: keep the state.
        if (i > 0) coords = fixevents[i - 1];
    }
    event_coords_t c = coords;
    c.advance_base(t);
    coords.update_current(t);
    return c;
}

void rebase_at(event_coords_t& coords, std::uint32_t t) { coords.advance_base(t); }
