// The system's file operations in the native build (tests, fuzzing, benchmarks): POSIX calls.
#include "FileOps.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The descriptor travels in the handle, offset by one so that descriptor 0 is not "none".
int Fd(FileOps::Handle h) {
    return static_cast<int>(reinterpret_cast<intptr_t>(h) - 1);
}

class PosixFileOps final : public FileOps {
public:
    PathStatus Status(const std::string& path, uint64_t& size, bool& isFolder) override {
        struct stat st;
        if (stat(path.c_str(), &st) != 0)
            return errno == ENOENT || errno == ENOTDIR ? PathStatus::Missing : PathStatus::Unknown;
        size = static_cast<uint64_t>(st.st_size);
        isFolder = S_ISDIR(st.st_mode);
        return PathStatus::Found;
    }

    bool MakeFolder(const std::string& path) override {
        if (mkdir(path.c_str(), 0777) == 0) return true;
        struct stat st;
        return errno == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    bool Read(const std::string& path, std::string& bytes, size_t maxBytes) override {
        bytes.clear();
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0) return false;
        struct stat st;
        bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
        if (ok) {
            const uint64_t size = static_cast<uint64_t>(st.st_size);
            bytes.resize(static_cast<size_t>(size < maxBytes ? size : maxBytes));
            size_t got = 0;
            while (ok && got < bytes.size()) {
                const ssize_t n = read(fd, &bytes[got], bytes.size() - got);
                if (n < 0 && errno == EINTR) continue;
                ok = n >= 0;
                if (n <= 0) break;
                got += static_cast<size_t>(n);
            }
            bytes.resize(got);
        }
        close(fd);
        return ok;
    }

    Handle Create(const std::string& path) override {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        return fd < 0 ? nullptr : reinterpret_cast<Handle>(static_cast<intptr_t>(fd) + 1);
    }

    bool Write(Handle file, const char* data, size_t size) override {
        while (size > 0) {
            const ssize_t n = write(Fd(file), data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            data += n;
            size -= static_cast<size_t>(n);
        }
        return true;
    }

    bool Flush(Handle file) override { return fsync(Fd(file)) == 0; }
    bool Close(Handle file) override { return close(Fd(file)) == 0; }
    bool Replace(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    bool Remove(const std::string& path) override { return unlink(path.c_str()) == 0; }

    bool Append(const std::string& path, const char* data, size_t size) override {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
        if (fd < 0) return false;
        const bool ok = Write(reinterpret_cast<Handle>(static_cast<intptr_t>(fd) + 1), data, size);
        close(fd);
        return ok;
    }
};

} // namespace

FileOps& SystemFileOps() {
    static PosixFileOps ops;
    return ops;
}
