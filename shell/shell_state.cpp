#include "shell/shell_state.h"

bool g_pause = false;
bool g_show_fps = false;
bool g_show_demo_overlay = false;
bool g_show_time = false;
std::uint32_t g_demo_msec = 0;
std::uint32_t g_last_time = 0;
int g_width = 0;
int g_height = 0;
