#pragma once
// The hall lattice's vertices in the order DrawMesh2's walk draws them
// (z-lines, y-lines per x position, then x-lines; or the rows of dots), with
// the walk's translations added into the positions. The benchmark's floor
// draws them as one vertex array.

#include "scene/draw_mesh2.h"

#include <vector>

// x, y, z per vertex: pairs of line ends in line mode, dots in point mode.
// Empty for a mesh never built.
std::vector<float> lattice_vertices(const DrawMesh2& mesh);
