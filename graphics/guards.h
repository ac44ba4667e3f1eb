#pragma once
// All GL state guards of the library in one include.

#include "graphics/guards_always.h"
#include "graphics/guards_composite.h"
#include "graphics/guards_matrix.h"
#include "graphics/guards_value.h"
