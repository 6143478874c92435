// Diagnostic trace lines of the background workers: printf to standard output, where nobody reads
// them. Tests may take the lines instead (the sink is called from the workers' threads).
#pragma once

#if defined(__GNUC__)
#define LK_PRINTF_LIKE(a, b) __attribute__((format(printf, a, b)))
#else
#define LK_PRINTF_LIKE(a, b)
#endif

void NetTrace(const char* format, ...) LK_PRINTF_LIKE(1, 2);

// nullptr gives standard output back.
using NetTraceSink = void (*)(const char* line);
void SetNetTraceSink(NetTraceSink sink);
