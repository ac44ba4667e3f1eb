#include "shell/shell_host.h"

#include "shell/overlay.h"
#include "shell/toolkit_requests.h"

namespace {

class shell_host_t : public demo_host_t {
public:
    void request_redisplay() override { ::request_redisplay(); }
    void set_overlay_projection() override { ::set_overlay_projection(); }
    float overlay_top() const override { return g_overlay_top; }
    void draw_text(float x, float y, const char* text) override { ::draw_text(x, y, text); }
};

}  // namespace

demo_host_t& shell_host() {
    static shell_host_t host;
    return host;
}
