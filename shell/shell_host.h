#pragma once
// The shell as the host of the demo objects: redisplay through its services,
// overlay text through its overlay.

#include "framework/demo_host.h"

#include <memory>

struct shell_state_t;

// A host for the objects of `shell`'s root; the state must outlive it.
std::unique_ptr<demo_host_t> make_shell_host(shell_state_t& shell);
