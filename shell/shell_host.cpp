#include "shell/shell_host.h"

#include "shell/overlay.h"
#include "shell/shell_state.h"

namespace {

class shell_host_t : public demo_host_t {
public:
    explicit shell_host_t(shell_state_t& shell) : m_shell(shell) {}
    void request_redisplay() override { m_shell.m_services.post_redisplay(); }
    void set_overlay_projection() override { ::set_overlay_projection(m_shell); }
    float overlay_top() const override { return m_shell.m_overlay_top; }
    void draw_text(float x, float y, const char* text) override { ::draw_text(x, y, text); }

private:
    shell_state_t& m_shell;
};

}  // namespace

std::unique_ptr<demo_host_t> make_shell_host(shell_state_t& shell) { return std::make_unique<shell_host_t>(shell); }
