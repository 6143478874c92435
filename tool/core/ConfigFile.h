// The camera configuration file that the number push hands to cameras, and the decimal reading of the
// focus-test values. Platform-free: no <windows.h> here.
#pragma once

#include "FileOps.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

constexpr int CONFIG_BUF_SIZE = 30720;      // each configuration buffer
constexpr uint64_t CONFIG_FILE_MAX = 30120; // the largest file accepted: cameras take no more

enum class ConfigLoad {
    Loaded,     // buffer and length hold the file
    Empty,      // the file holds nothing: buffer zeroed, length 0
    TooLarge,   // larger than CONFIG_FILE_MAX: buffer and length unchanged
    Unreadable, // no status or cannot be opened: buffer and length unchanged
    NoBuffer,   // there is no buffer to load into
    ShortRead,  // fewer bytes came than the file's size: buffer zeroed, length 0
};

// Reads the file into buffer (CONFIG_BUF_SIZE bytes, zeroed first) and sets *length. The size is taken
// as 64 bits, so a file of 4 GiB and more is too large, not its low 32 bits.
ConfigLoad LoadConfigFile(const char* path, char* buffer, int* length, FileOps& ops = SystemFileOps());

// What the number push hands to a camera: a buffer that nobody writes once it is published, and the
// number of its bytes to send (0 for none).
struct ConfigSnapshot {
    const char* data;
    int length;
};

// The loaded configuration. The device SDK sends a camera its configuration after the number push has
// returned, so a load or a cancel never touches a buffer already handed out: it publishes a new
// snapshot under the lock. Every buffer is kept until the store is destroyed, which its owner does only
// after the SDK has been released (loads are rare: a few buffers of 30 KB at most).
class ConfigStore {
public:
    ConfigStore();
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    // The snapshot in force; its data is never NULL (an all-zero buffer when nothing is loaded).
    ConfigSnapshot Current() const;
    // Loads the file into a new buffer; Loaded publishes it, Empty and ShortRead publish length 0, the
    // other results leave the snapshot in force.
    ConfigLoad Load(const char* path, FileOps& ops = SystemFileOps());
    // Publishes length 0.
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<std::unique_ptr<char[]>> m_buffers; // [0] is the all-zero buffer
    ConfigSnapshot m_current;
};

// The C library's decimal reading: leading white space, optional sign, digits up to the first
// non-digit; no digits gives 0. Values beyond the int range are held at its ends.
int DecimalValue(const char* text);
