// The system's file operations in the Windows build: the ANSI Win32 file functions (paths are GBK).
#include "FileOps.h"

#include <windows.h>

namespace {

class Win32FileOps final : public FileOps {
public:
    PathStatus Status(const std::string& path, uint64_t& size, bool& isFolder) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathStatus::Missing
                                                                                  : PathStatus::Unknown;
        }
        size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return PathStatus::Found;
    }

    bool MakeFolder(const std::string& path) override {
        if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
        const DWORD a = ::GetFileAttributesA(path.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    bool Read(const std::string& path, std::string& bytes, size_t maxBytes) override {
        bytes.clear();
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER size;
        bool ok = ::GetFileSizeEx(h, &size) != 0;
        if (ok) {
            const uint64_t want = static_cast<uint64_t>(size.QuadPart) < maxBytes ? size.QuadPart : maxBytes;
            bytes.resize(static_cast<size_t>(want));
            size_t got = 0;
            while (ok && got < bytes.size()) {
                const DWORD piece =
                    static_cast<DWORD>(bytes.size() - got < (1u << 30) ? bytes.size() - got : 1u << 30);
                DWORD n = 0;
                ok = ::ReadFile(h, &bytes[got], piece, &n, nullptr) != 0;
                if (n == 0) break; // the file got shorter since its size was taken
                got += n;
            }
            bytes.resize(got);
        }
        ::CloseHandle(h);
        return ok;
    }

    Handle Create(const std::string& path) override {
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? nullptr : h;
    }

    bool Write(Handle file, const char* data, size_t size) override {
        while (size > 0) {
            const DWORD piece = static_cast<DWORD>(size < (1u << 30) ? size : 1u << 30);
            DWORD n = 0;
            if (!::WriteFile(file, data, piece, &n, nullptr) || n != piece) return false;
            data += n;
            size -= n;
        }
        return true;
    }

    bool Flush(Handle file) override { return ::FlushFileBuffers(file) != 0; }
    bool Close(Handle file) override { return ::CloseHandle(file) != 0; }

    bool Replace(const std::string& from, const std::string& to) override {
        return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
               0;
    }

    bool Remove(const std::string& path) override { return ::DeleteFileA(path.c_str()) != 0; }

    bool Append(const std::string& path, const char* data, size_t size) override {
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        const bool ok =
            ::SetFilePointer(h, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER && Write(h, data, size);
        ::CloseHandle(h);
        return ok;
    }
};

} // namespace

FileOps& SystemFileOps() {
    static Win32FileOps ops;
    return ops;
}
