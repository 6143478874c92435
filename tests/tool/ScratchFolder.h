// A fresh folder for one test's files, removed with everything in it at the end. Paths built from it
// use the separator the program's files use on this platform.
#pragma once

#include "NumberFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder() {
        namespace fs = std::filesystem;
        const fs::path base = fs::temp_directory_path();
        for (int i = 0; i < 1000 && m_path.empty(); ++i) {
            const fs::path p = base / ("lk_np_" + std::to_string(std::rand()) + "_" + std::to_string(i));
            std::error_code ec;
            if (fs::create_directory(p, ec)) m_path = p.string();
        }
        if (m_path.empty()) ADD_FAILURE() << "no scratch folder could be made under " << base.string();
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // m_path + separator + name (name may hold further separators).
    std::string operator/(const std::string& name) const { return m_path + FILE_PATH_SEPARATOR + name; }

private:
    std::string m_path;
};

inline std::string Sep(std::string path) {
    for (char& c : path)
        if (c == '/') c = FILE_PATH_SEPARATOR;
    return path;
}

// The whole file as bytes; "<missing>" when it cannot be opened.
inline std::string FileBytes(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return "<missing>";
    std::string s;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    std::fclose(f);
    return s;
}

// The file read as text: CR LF line ends read back as "\n", as the C library reads them on Windows.
inline std::string FileText(const std::string& path) {
    const std::string bytes = FileBytes(path);
    std::string s;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) s.push_back(bytes[i]);
    return s;
}

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
