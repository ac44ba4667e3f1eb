#pragma once
// The program's services: the platform's clock and wait, freeglut's
// redisplay, idle callback and buffer swap.

#include "shell/shell_state.h"

// idle: the callback registered while the demo runs (shell/callbacks.h).
shell_services_t toolkit_services(void (*idle)());
