// Win32 clock: the multimedia timer's millisecond count (link winmm). It
// wraps after 49.7 days like the header's clock, so no conversion is needed.

#include "shell/platform_clock.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>

std::uint32_t platform_wall_msec() { return timeGetTime(); }

void platform_wait_msec(std::uint32_t msec) {
    // Sleep may come back up to a timer tick early, and msec = INFINITE would
    // never come back: wait in finite pieces until the clock has moved on.
    const DWORD start = timeGetTime();
    for (DWORD waited = 0; waited < msec; waited = timeGetTime() - start) {
        const DWORD left = msec - waited;
        Sleep(left == INFINITE ? INFINITE - 1 : left);
    }
}
