#include "shell/frame_capture.h"

#include "utilities/png_file.h"

#include <GL/gl.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

bool frame_capture_t::open(const std::string& dir, std::string* error) {
    std::error_code code;
    fs::create_directories(dir, code);
    if (code || !fs::is_directory(dir, code)) {
        *error = dir + ": cannot make the folder for the frames" + (code ? ": " + code.message() : std::string());
        return false;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, code)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("frame-", 0) == 0 && entry.path().extension() == ".png") {
            *error = dir + ": holds frames already (" + name + "); an earlier capture is never overwritten";
            return false;
        }
    }
    m_dir = dir;
    return true;
}

void frame_capture_t::capture(int width, int height) {
    if (width <= 0 || height <= 0) return;
    // Read as RGBA, which every driver packs quickly, and handed on as RGB.
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    // Mesa's llvmpipe can crash reading a frame its threads still draw.
    glFinish();
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopClientAttrib();
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0, o = 0; o < rgb.size(); i += 4, o += 3) {
        rgb[o] = rgba[i];
        rgb[o + 1] = rgba[i + 1];
        rgb[o + 2] = rgba[i + 2];
    }
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(++m_frames));
    std::string error;
    if (!libutils::write_png((fs::path(m_dir) / name).string(), width, height, rgb.data(),
                             static_cast<std::size_t>(width) * 3, true, &error) &&
        !m_failed) {
        std::cerr << "wire_gate: capture: " << error << std::endl;
        m_failed = true;
    }
}
