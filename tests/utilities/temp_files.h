#pragma once
// Scratch files for the utilities tests, in a folder of their own that goes
// away with the object.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace wg_test {

class temp_files_t {
public:
    temp_files_t()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/wg_utils_XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        m_dir = name.data();
    }
    ~temp_files_t()
    {
        for (const std::string& path : m_files) ::unlink(path.c_str());
        ::rmdir(m_dir.c_str());
    }
    temp_files_t(const temp_files_t&) = delete;
    temp_files_t& operator=(const temp_files_t&) = delete;

    // Writes bytes to a new file in the folder and returns its path.
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        m_files.push_back(path);
        return path;
    }

    // A path in the folder that names no file.
    std::string missing(const std::string& name) const { return m_dir + "/" + name; }

private:
    std::string m_dir;
    std::vector<std::string> m_files;
};

// n bytes that differ from their neighbours and repeat only every 251.
inline std::vector<unsigned char> pattern_bytes(std::size_t n)
{
    std::vector<unsigned char> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>((i * 7 + 3) % 251);
    return bytes;
}

inline std::vector<unsigned char> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

}  // namespace wg_test
