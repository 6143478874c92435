#include "ConfigFile.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

std::mutex g_ConfigFileLock;

ConfigLoad LoadConfigFile(const char* path, char* buffer, int* length) {
    struct stat st;
    if (!path || stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return ConfigLoad::Unreadable;
    if (st.st_size > CONFIG_FILE_MAX) return ConfigLoad::TooLarge;
    if (st.st_size == 0) {
        ClearConfigBuffer(buffer, length);
        return ConfigLoad::Empty;
    }
    // Binary: the byte count must match the file's size exactly.
    FILE* f = fopen(path, "rb");
    if (!f) return ConfigLoad::Unreadable;
    if (!buffer) {
        fclose(f);
        return ConfigLoad::NoBuffer;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    std::vector<char> data(size);
    const size_t got = fread(data.data(), 1, size, f);
    fclose(f);

    std::lock_guard<std::mutex> lock(g_ConfigFileLock);
    memset(buffer, 0, CONFIG_BUF_SIZE);
    *length = 0;
    if (got != size) return ConfigLoad::ShortRead;
    memcpy(buffer, data.data(), size);
    *length = static_cast<int>(size);
    return ConfigLoad::Loaded;
}

void ClearConfigBuffer(char* buffer, int* length) {
    std::lock_guard<std::mutex> lock(g_ConfigFileLock);
    if (buffer) memset(buffer, 0, CONFIG_BUF_SIZE);
    *length = 0;
}

int DecimalValue(const char* text) {
    if (!text) return 0;
    long v = strtol(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}
