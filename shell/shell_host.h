#pragma once
// The shell as the host of the demo objects: redisplay through the toolkit,
// overlay text through the shell's overlay.

#include "framework/demo_host.h"

// The one host the program hands to the objects it builds.
demo_host_t& shell_host();
