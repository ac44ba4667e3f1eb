#pragma once
// Every frame drawn as a numbered PNG file (--capture DIR): DIR/frame-000001.png,
// frame-000002.png, ...

#include <cstdint>
#include <string>

class frame_capture_t {
public:
    // Makes dir when it does not exist. A folder that holds frames already
    // is refused, so that none is overwritten; false with *error then.
    bool open(const std::string& dir, std::string* error);
    // The back buffer's pixels, width by height, as the next frame; a file
    // that cannot be written says so on stderr, once.
    void capture(int width, int height);

private:
    std::string m_dir;
    std::uint64_t m_frames = 0;
    bool m_failed = false;
};
