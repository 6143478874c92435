// Feeds the configuration loader a file of any size and content without the disk: the first 8 input
// bytes are the size its status reports (little-endian, 64 bits, so sizes past 4 GiB come up), the
// rest is what a read returns. Checks the load's result and the buffer against the size rule, and
// that a snapshot handed out before the load is left as it was.
#include "ConfigFile.h"
#include "FakeFileOps.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    SizedFileOps ops;
    for (int i = 7; i >= 0; --i)
        ops.size = ops.size << 8 | data[i];
    // Small sizes are the interesting ones: sizes below 1 TiB are folded into the accepted range and
    // around it. Larger ones stay, such as the over_4gib seed's 1 TiB + 4 GiB + 10, whose low 32 bits
    // are a size that would load.
    if (data[7] == 0 && data[6] == 0 && data[5] == 0) ops.size %= CONFIG_FILE_MAX + 2;
    ops.content.assign(reinterpret_cast<const char*>(data + 8), size - 8);

    std::vector<char> buffer(CONFIG_BUF_SIZE, 'x');
    int length = -1;
    const ConfigLoad r = LoadConfigFile("f", buffer.data(), &length, ops);
    const uint64_t n = ops.size;
    if (n > CONFIG_FILE_MAX) {
        if (r != ConfigLoad::TooLarge || length != -1 || buffer[0] != 'x') __builtin_trap();
    } else if (n == 0) {
        if (r != ConfigLoad::Empty || length != 0) __builtin_trap();
    } else if (ops.content.size() < n) {
        if (r != ConfigLoad::ShortRead || length != 0) __builtin_trap();
        for (char c : buffer)
            if (c != '\0') __builtin_trap();
    } else {
        if (r != ConfigLoad::Loaded || static_cast<uint64_t>(length) != n) __builtin_trap();
        if (std::memcmp(buffer.data(), ops.content.data(), static_cast<size_t>(n)) != 0) __builtin_trap();
        for (size_t i = static_cast<size_t>(n); i < buffer.size(); ++i)
            if (buffer[i] != '\0') __builtin_trap();
    }

    // The store: a snapshot taken before a load keeps its bytes whatever the load does.
    ConfigStore store;
    SizedFileOps first;
    first.size = 4;
    first.content = "abcd";
    store.Load("first", first);
    const ConfigSnapshot before = store.Current();
    store.Load("f", ops);
    // Never more than the file's size is asked for.
    if (ops.mostAsked > ops.size || first.mostAsked > first.size) __builtin_trap();
    if (before.length != 4 || std::memcmp(before.data, "abcd", 4) != 0) __builtin_trap();
    const ConfigSnapshot now = store.Current();
    if (r == ConfigLoad::Loaded) {
        if (now.length != length || std::memcmp(now.data, buffer.data(), static_cast<size_t>(length)) != 0)
            __builtin_trap();
    } else if (r == ConfigLoad::TooLarge) {
        if (now.data != before.data || now.length != 4) __builtin_trap();
    } else if (now.length != 0) {
        __builtin_trap();
    }
    return 0;
}
