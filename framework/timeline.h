#pragma once
// The scene-side steps of the event timeline, as free functions over the
// containers the scene keeps (m_events, m_fixevents, m_fixidx, m_coords), so
// the timeline does not depend on the scene.

#include <cstdint>
#include <vector>

#include "framework/event_coords.h"
#include "framework/event_list.h"

// One snapshot per element of events, in list order: a work state starting in
// the default state is advanced to each element's absolute time (so
// snapshot k's m_msec is that time), has the element's event applied and its
// current state computed at that time, and is copied out. Effects accumulate
// from one element to the next.
void build_fixevents_from(const event_list_t& events, std::vector<event_coords_t>& fixevents);

// Timeline half of the per-update step at demo time t:
// - i = number of leading snapshots with m_msec <= t; when i differs from
//   fixidx, fixidx = i and coords = snapshot i - 1. Before the first snapshot
//   (i = 0) nothing is loaded and coords keeps its state.
// - coords.update_current(t): m_cur is the camera state at t.
// Returns a copy of coords whose base is advanced to t (posture and
// velocities at t, for the history rings); coords keeps its own base.
event_coords_t step_timeline_at(const std::vector<event_coords_t>& fixevents, std::uint32_t& fixidx,
                                event_coords_t& coords, std::uint32_t t);

// Moves coords' base to time t before a change of forces or rates, so the
// path travelled so far stays and the new rates act from t on.
void rebase_at(event_coords_t& coords, std::uint32_t t);
