#pragma once
// The scratch file of the storage tests: storage_test.cpp and each platform's
// own cases (posix_ or win32_storage_test.cpp).
#include "utilities/alloc_mmap_win.h"
#include "utilities/refvector2.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using bytes_t = std::vector<unsigned char>;
using mapped_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;

inline bytes_t pattern(std::size_t n, std::size_t from = 0) {  // repeats only every 251 bytes
    bytes_t bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(((from + i) * 7 + 3) % 251);
    return bytes;
}

inline bytes_t all(const mapped_t& v) { return bytes_t(v.data(), v.data() + v.size()); }

// A 1000-byte file of pattern(1000) at m_path, nothing at m_missing.
class FileStorage : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(pattern(1000).data()), 1000);
    }
    void TearDown() override { std::remove(m_path.c_str()); }
    const std::string m_path = testing::TempDir() + "wg_thousand_" + std::to_string(::getpid()),
                      m_missing = m_path + ".none";
};
