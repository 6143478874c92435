#include "ConfigFile.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

ConfigLoad LoadConfigFile(const char* path, char* buffer, int* length, FileOps& ops) {
    uint64_t size = 0;
    bool isFolder = false;
    if (!path || ops.Status(path, size, isFolder) != PathStatus::Found || isFolder)
        return ConfigLoad::Unreadable;
    if (size > CONFIG_FILE_MAX) return ConfigLoad::TooLarge;
    if (size == 0) {
        if (buffer) std::memset(buffer, 0, CONFIG_BUF_SIZE);
        *length = 0;
        return ConfigLoad::Empty;
    }
    // Binary: the byte count must match the file's size exactly.
    std::string data;
    if (!ops.Read(path, data, static_cast<size_t>(size))) return ConfigLoad::Unreadable;
    if (!buffer) return ConfigLoad::NoBuffer;
    std::memset(buffer, 0, CONFIG_BUF_SIZE);
    *length = 0;
    if (data.size() != size) return ConfigLoad::ShortRead;
    std::memcpy(buffer, data.data(), data.size());
    *length = static_cast<int>(data.size());
    return ConfigLoad::Loaded;
}

ConfigStore::ConfigStore() {
    m_buffers.emplace_back(new char[CONFIG_BUF_SIZE]());
    m_current = ConfigSnapshot{m_buffers.front().get(), 0};
}

ConfigSnapshot ConfigStore::Current() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_current;
}

ConfigLoad ConfigStore::Load(const char* path, FileOps& ops) {
    std::unique_ptr<char[]> fresh(new (std::nothrow) char[CONFIG_BUF_SIZE]);
    int length = 0;
    const ConfigLoad result = LoadConfigFile(path, fresh.get(), &length, ops);
    if (result == ConfigLoad::Empty || result == ConfigLoad::ShortRead) {
        Clear();
    } else if (result == ConfigLoad::Loaded) {
        std::lock_guard<std::mutex> hold(m_lock);
        m_buffers.push_back(std::move(fresh));
        m_current = ConfigSnapshot{m_buffers.back().get(), length};
    }
    return result;
}

void ConfigStore::Clear() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_current = ConfigSnapshot{m_buffers.front().get(), 0};
}

int DecimalValue(const char* text) {
    if (!text) return 0;
    long v = strtol(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}
