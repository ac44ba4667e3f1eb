#pragma once
// A timedemo (--timedemo): a flight played a fixed step of demo time a
// frame, as fast as GL draws, and the figures of its frames.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// "timedemo: <frames> frames in <s> s, <fps> fps; frame ms median <a>,
// 95th <b>, 99th <c>" for frames of these durations (nearest-rank
// percentiles) taking `seconds` in all.
std::string timedemo_summary(std::vector<double> frame_ms, double seconds);

class timedemo_t {
public:
    explicit timedemo_t(std::uint32_t step_us) : m_step_us(step_us) {}

    // The window's size the frames are drawn at: the first frame waits for
    // the toolkit to show the window at it (so every run draws the same), or
    // for `patience` ms of wall time when it never does (a window manager
    // that gives another size).
    void wait_for(int width, int height, std::uint32_t patience_msec);
    bool ready(int width, int height, bool shown, std::uint32_t waited_msec) const;

    // The demo time from the last frame to the next, ms: frame k stands at
    // k * step rounded down, so the clock never drifts from the steps.
    std::uint32_t next_step();
    void frame_started();
    void frame_done();
    std::string summary() const;

private:
    using clock_t = std::chrono::steady_clock;
    std::uint32_t m_step_us;
    int m_width = 0, m_height = 0;
    std::uint32_t m_patience = 0;
    std::uint64_t m_frames = 0;
    clock_t::time_point m_first, m_started;
    std::vector<double> m_frame_ms;
};
