#include "utilities/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace libutils {

namespace {

struct png_failure_t {
    std::string m_message;
};

// libpng reports through callbacks; an error must leave by longjmp, so the
// message is kept for the caller first.
void on_png_error(png_structp png, png_const_charp message) {
    static_cast<png_failure_t*>(png_get_error_ptr(png))->m_message = message;
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// Everything libpng touches between setjmp and longjmp lives here, made
// before the setjmp, so that no automatic object is left half-destroyed.
bool encode(std::FILE* file, int width, int height, const std::vector<png_bytep>& rows, png_failure_t* failure) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, on_png_error, on_png_warning);
    if (!png) {
        failure->m_message = "libpng could not start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (failure->m_message.empty()) failure->m_message = "libpng could not start";
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Frames are written while the demo runs: a fast level keeps up.
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool write_png(const std::string& path, int width, int height, const unsigned char* rgb, std::size_t row_bytes,
               bool bottom_up, std::string* error) {
    if (width <= 0 || height <= 0 || row_bytes < static_cast<std::size_t>(width) * 3) {
        *error = path + ": no image to write (" + std::to_string(width) + "x" + std::to_string(height) + ")";
        return false;
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int source = bottom_up ? height - 1 - y : y;
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(rgb + static_cast<std::size_t>(source) * row_bytes);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = path + ": cannot create: " + std::strerror(errno);
        return false;
    }
    png_failure_t failure;
    bool written = encode(file, width, height, rows, &failure);
    // fclose flushes, and says when what it still held could not be written.
    if (std::fclose(file) != 0 && written) {
        failure.m_message = std::strerror(errno);
        written = false;
    }
    if (!written) {
        std::remove(path.c_str());
        *error = path + ": cannot write the picture: " + failure.m_message;
    }
    return written;
}

}  // namespace libutils
