// The pan-tilt plug-in's parameter text taken from a received packet: the text offset is the camera's.
#include "PanTiltKeys.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes given, so that any read past them is caught.
    std::vector<char> buffer(data, data + size);
    const std::string text = SwivelParamText(buffer.empty() ? nullptr : buffer.data(), buffer.size());
    if (text.size() > size) __builtin_trap(); // the text can only come from inside the buffer
    return 0;
}
