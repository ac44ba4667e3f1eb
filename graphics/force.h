#pragma once
// Force accumulator operations (force_t lives in graphics/values.h).

#include "graphics/values.h"

namespace libgr {

// All twelve floats set to s; fill(f, 0) clears the accumulator.
force_t& fill(force_t& f, float s);

// Accumulates force F applied at lever p (body axes): the moment p x F into
// ro, the central part (1 - |p|) F into ze and the lever part |p| F into pf
// or nf per axis by the sign of p (a lever component of +0 or -0 counts as
// positive). A unit lever only turns, a zero lever only pushes.
force_t& add_force(force_t& f, const dir3& p, const dir3& F);

// Hands out the summed moments (ro) and central forces (ze).
void split(const force_t& f, dir3& out1, dir3& out2);

}  // namespace libgr
