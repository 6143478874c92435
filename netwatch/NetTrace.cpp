#include "NetTrace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<NetTraceSink> g_sink{nullptr};
}

void SetNetTraceSink(NetTraceSink sink) {
    g_sink.store(sink);
}

void NetTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    NetTraceSink sink = g_sink.load();
    if (sink) {
        char line[512];
        std::vsnprintf(line, sizeof line, format, args);
        sink(line);
    } else {
        std::vprintf(format, args);
    }
    va_end(args);
}
