// The few file operations that the result files, the error log and the configuration loader need,
// behind one interface: the program uses the system's (Win32 in the Windows build, POSIX in the native
// one), and a test can put a failing one in their place to see that no step's failure loses data.
// Platform-free: no <windows.h> here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What Status found out about a path. Missing only when the system says that nothing of that name is
// there: a status that cannot be read (no rights, a file held in some way) tells nothing either way.
enum class PathStatus { Found, Missing, Unknown };

class FileOps {
public:
    // A file opened for writing; nullptr is none.
    using Handle = void*;

    virtual ~FileOps() = default;

    // Size and kind of a path, filled when it is Found.
    virtual PathStatus Status(const std::string& path, uint64_t& size, bool& isFolder) = 0;
    // True when the folder exists afterwards: made now, or there already (a file of that name is no folder).
    virtual bool MakeFolder(const std::string& path) = 0;
    // At most maxBytes bytes from the start of the file. False when it cannot be opened or read.
    virtual bool Read(const std::string& path, std::string& bytes, size_t maxBytes) = 0;

    // Creates the file, empty, replacing any file of that name.
    virtual Handle Create(const std::string& path) = 0;
    // Writes all of the bytes, or fails.
    virtual bool Write(Handle file, const char* data, size_t size) = 0;
    // Puts what was written on the disk, so that a later replace never publishes a file that a power
    // loss could still cut.
    virtual bool Flush(Handle file) = 0;
    // Closes the handle in every case; false when the close reported an error.
    virtual bool Close(Handle file) = 0;
    // Moves `from` to `to` in one step, replacing `to` if it exists and going through to the disk.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;

    // Appends the bytes at the end of the file, creating it when missing; other writers may hold the
    // file open at the same time.
    virtual bool Append(const std::string& path, const char* data, size_t size) = 0;
};

// The system's file operations, shared by every thread (they keep no state).
FileOps& SystemFileOps();
