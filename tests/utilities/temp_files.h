#pragma once
// Scratch files for the utilities tests, in a folder that goes with the object.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace wg_test {

class temp_files_t {
public:
    temp_files_t() {
        std::string name = "/tmp/wg_utils_XXXXXX";
        m_dir = ::mkdtemp(&name[0]) != nullptr ? name : "/tmp";
    }
    ~temp_files_t() {
        for (const std::string& path : m_files) ::unlink(path.c_str());
        ::rmdir(m_dir.c_str());
    }
    // Writes bytes to a new file in the folder and returns its path.
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) {
        m_files.push_back(path(name));
        std::ofstream(m_files.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return m_files.back();
    }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
    std::vector<std::string> m_files;
};

// n bytes that differ from their neighbours and repeat only every 251.
inline std::vector<unsigned char> pattern_bytes(std::size_t n, std::size_t from = 0) {
    std::vector<unsigned char> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(((from + i) * 7 + 3) % 251);
    return bytes;
}

inline std::vector<unsigned char> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<unsigned char> bytes_at(const void* data, std::size_t n) {
    const auto* first = static_cast<const unsigned char*>(data);
    return {first, first + n};
}

}  // namespace wg_test
