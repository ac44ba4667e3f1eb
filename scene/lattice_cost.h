#pragma once
// What a hall lattice costs, counted before anything is recorded, and the
// bounds it must keep. A lattice is recorded as three segment lists, three
// row lists (one whole inner walk of a segment each) and the scene's list of
// row calls under the outer walks' translations (DrawMesh2::DrawRows); one
// drawing sends every vertex of every row. The counts follow the walks' own
// single-precision arithmetic, so they are exact for the lattice drawn.

#include "graphics/values.h"

#include <cstdint>
#include <string>

struct lattice_cost_t {
    std::uint64_t list_vertices = 0;   // held by the segment and row lists
    std::uint64_t list_commands = 0;   // the scene's list: row calls, translations, pushes, pops
    std::uint64_t drawn_vertices = 0;  // sent by one drawing (saturates at UINT64_MAX)
    bool points = false;               // the drawn vertices are dots, not line ends
    bool stalled = false;              // a step too small to advance across the bounding in single precision
};

// Recording costs Mesa's software renderer some 170 ns and 15 to 17 bytes a
// vertex, and 6 ns and 12.4 bytes a command (scripts/bench): these bounds
// keep a rebuild under about 2 s and the lists under about 450 MB together.
constexpr std::uint64_t lattice_max_list_vertices = 12000000;
constexpr std::uint64_t lattice_max_list_commands = 20000000;
// A frame draws every vertex. Lines: about twice bounding 1000 at interval 1
// (24 M vertices, some 21 s a frame in software at 1920x1080, tens of ms on
// a desktop GPU); dots: a little more than bounding 3000 at interval 5
// (1.73 G dots, some 14 s in software). Beyond them a frame would take
// minutes, and the program could not answer a key in that time.
constexpr std::uint64_t lattice_max_line_vertices = 50000000;
constexpr std::uint64_t lattice_max_dots = 2000000000;

// The lattice from -|bounding| to +|bounding| with steps |interval|, of rows
// of dots along z (points) or of lines. The interval must be finite and not
// zero on every axis, the bounding finite.
lattice_cost_t lattice_cost(const libgr::dir3& bounding, const libgr::dir3& interval, bool points);

// Empty when the lattice keeps every bound; otherwise why not, as a phrase
// ("would draw 96048006 line vertices a frame, more than 50000000").
std::string lattice_excess(const lattice_cost_t& cost);

// The smallest interval at least |interval| with which the cube of half edge
// |bounding| (the same on every axis) keeps every bound; bounding finite,
// interval finite and not zero.
float smallest_fitting_interval(float bounding, float interval, bool points);
