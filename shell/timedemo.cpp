#include "shell/timedemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string timedemo_summary(std::vector<double> frame_ms, double seconds) {
    std::sort(frame_ms.begin(), frame_ms.end());
    const auto rank = [&](double percent) {
        if (frame_ms.empty()) return 0.0;
        const auto k = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(frame_ms.size())));
        return frame_ms[std::max<std::size_t>(k, 1) - 1];
    };
    char line[200];
    std::snprintf(line, sizeof line,
                  "timedemo: %zu frames in %.3f s, %.1f fps; frame ms median %.2f, 95th %.2f, 99th %.2f",
                  frame_ms.size(), seconds, seconds > 0 ? static_cast<double>(frame_ms.size()) / seconds : 0.0,
                  rank(50), rank(95), rank(99));
    return line;
}

void timedemo_t::wait_for(int width, int height, std::uint32_t patience_msec) {
    m_width = width;
    m_height = height;
    m_patience = patience_msec;
}

bool timedemo_t::ready(int width, int height, bool shown, std::uint32_t waited_msec) const {
    return m_frames > 0 || (shown && width == m_width && height == m_height) || waited_msec >= m_patience;
}

std::uint32_t timedemo_t::next_step() {
    const std::uint64_t k = m_frames + 1;
    return static_cast<std::uint32_t>(k * m_step_us / 1000 - (k - 1) * m_step_us / 1000);
}

void timedemo_t::frame_started() {
    m_started = clock_t::now();
    if (m_frames == 0) m_first = m_started;
}

void timedemo_t::frame_done() {
    ++m_frames;
    m_frame_ms.push_back(std::chrono::duration<double, std::milli>(clock_t::now() - m_started).count());
}

std::string timedemo_t::summary() const {
    const double seconds = m_frames == 0 ? 0.0 : std::chrono::duration<double>(clock_t::now() - m_first).count();
    return timedemo_summary(m_frame_ms, seconds);
}
