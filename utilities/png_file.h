#pragma once
// Writes an 8-bit RGB image as a PNG file (libpng), for frame captures and
// screenshots of the demo.

#include <cstddef>
#include <string>

namespace libutils {

// Writes width x height pixels of 3 bytes each, rows row_bytes apart in
// memory; bottom_up says the first row in memory is the bottom of the image
// (as glReadPixels returns it). Creates or replaces path. On failure returns
// false with "<path>: <what failed>" in *error and leaves no half-written
// file behind.
bool write_png(const std::string& path, int width, int height, const unsigned char* rgb, std::size_t row_bytes,
               bool bottom_up, std::string* error);

}  // namespace libutils
