// File layers that tests and fuzz targets put in the place of the system's (FileOps.h). Platform-free,
// so that the native fuzz targets build with them.
#pragma once

#include "FileOps.h"

#include <cstdint>
#include <string>

// The system's file operations, passed through: a test derives from it and changes only the steps it
// fails or watches.
class PassThroughFileOps : public FileOps {
public:
    PathStatus Status(const std::string& p, uint64_t& size, bool& folder) override {
        return Sys().Status(p, size, folder);
    }
    bool MakeFolder(const std::string& p) override { return Sys().MakeFolder(p); }
    bool Read(const std::string& p, std::string& b, size_t max) override { return Sys().Read(p, b, max); }
    Handle Create(const std::string& p) override { return Sys().Create(p); }
    bool Write(Handle h, const char* d, size_t n) override { return Sys().Write(h, d, n); }
    bool Flush(Handle h) override { return Sys().Flush(h); }
    bool Close(Handle h) override { return Sys().Close(h); }
    bool Replace(const std::string& from, const std::string& to) override { return Sys().Replace(from, to); }
    bool Remove(const std::string& p) override { return Sys().Remove(p); }
    bool Append(const std::string& p, const char* d, size_t n) override { return Sys().Append(p, d, n); }

protected:
    static FileOps& Sys() { return SystemFileOps(); }
};

// A file of any size without the disk: its status gives `size`, a read gives `content`; nothing can be
// written. Counts the reads, which open the file, and keeps the most bytes a read asked for.
class SizedFileOps : public FileOps {
public:
    uint64_t size = 0;
    std::string content;
    int reads = 0;
    size_t mostAsked = 0;

    PathStatus Status(const std::string&, uint64_t& s, bool& folder) override {
        s = size;
        folder = false;
        return PathStatus::Found;
    }
    bool Read(const std::string&, std::string& bytes, size_t max) override {
        ++reads;
        if (max > mostAsked) mostAsked = max;
        bytes = content.substr(0, max);
        return true;
    }
    bool MakeFolder(const std::string&) override { return false; }
    Handle Create(const std::string&) override { return nullptr; }
    bool Write(Handle, const char*, size_t) override { return false; }
    bool Flush(Handle) override { return false; }
    bool Close(Handle) override { return false; }
    bool Replace(const std::string&, const std::string&) override { return false; }
    bool Remove(const std::string&) override { return false; }
    bool Append(const std::string&, const char*, size_t) override { return false; }
};
