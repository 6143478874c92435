// The camera configuration file that the number push hands to cameras, and the decimal reading of the
// focus-test values. Platform-free: no <windows.h> here.
#pragma once

#include <mutex>

constexpr int CONFIG_BUF_SIZE = 30720;  // the main window's buffer
constexpr long CONFIG_FILE_MAX = 30120; // the largest file accepted: cameras take no more

enum class ConfigLoad {
    Loaded,     // buffer and length hold the file
    Empty,      // the file holds nothing: buffer zeroed, length 0
    TooLarge,   // larger than CONFIG_FILE_MAX: buffer and length unchanged
    Unreadable, // no status or cannot be opened: buffer and length unchanged
    NoBuffer,   // there is no buffer to load into
    ShortRead,  // fewer bytes came than the file's size: buffer zeroed, length 0
};

// The number push copies the buffer on the device SDK's threads while the UI thread may be loading
// into it: both hold this lock for every access to the buffer and its length.
extern std::mutex g_ConfigFileLock;

// Reads the file into buffer (CONFIG_BUF_SIZE bytes) and sets *length. The file is read before the
// lock is taken, so the number push never waits on the disk.
ConfigLoad LoadConfigFile(const char* path, char* buffer, int* length);

// Zeroes the whole buffer (when there is one) and the length, under the lock.
void ClearConfigBuffer(char* buffer, int* length);

// The C library's decimal reading: leading white space, optional sign, digits up to the first
// non-digit; no digits gives 0. Values beyond the int range are held at its ends.
int DecimalValue(const char* text);
