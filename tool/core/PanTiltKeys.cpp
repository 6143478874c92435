#include "PanTiltKeys.h"

#include "CfgPacket.h"

#include <cstdlib>
#include <cstring>

namespace {

struct KeyCodes {
    int id;
    int press;
    int release;
};

const KeyCodes kKeys[] = {
    {1068, 1, 21},
    {1069, 2, 22},
    {1070, 3, 23},
    {1071, 4, 24},
    {1072, 12, 21},
    {1073, 13, 21},
    {1074, 14, 21},
    {1075, 15, 21},
    {1076, 11, 31},
    {1077, 10, 30},
    {1078, 8, 28},
    {1079, 9, 29},
    {1085, 6, PANTILT_NO_CODE},
};

struct Pass {
    int direction;
    unsigned least;
    unsigned range;
};

const Pass kPasses[] = {{2, 600, 2400}, {1, 1000, 2000}, {2, 1500, 1500}};

} // namespace

int PanTiltCode(int controlId, bool pressed) {
    for (const KeyCodes& k : kKeys)
        if (k.id == controlId) return pressed ? k.press : k.release;
    return PANTILT_NO_CODE;
}

unsigned PanTiltPause(unsigned long nowSeconds, unsigned least, unsigned range) {
    srand(static_cast<unsigned>(nowSeconds));
    return least + static_cast<unsigned>(rand()) % range;
}

void RunPanTiltTestSequence(PanTiltSequenceHooks& hooks) {
    for (const Pass& pass : kPasses) {
        hooks.EmptyOperation();
        hooks.Move(4, 255);
        hooks.Wait(PanTiltPause(hooks.NowSeconds(), 800, 3200));
        hooks.Command(PANTILT_STOP);
        hooks.Move(pass.direction, 255);
        hooks.Wait(PanTiltPause(hooks.NowSeconds(), pass.least, pass.range));
        hooks.Command(PANTILT_STOP);
        hooks.Wait(3000);
    }
    hooks.EmptyOperation();
    hooks.Wait(100);
    hooks.Wait(100); // the pause of commands 1094 to 1096
}

std::string SwivelParamText(const void* packet, size_t bufferSize) {
    if (!packet || bufferSize < CFG_HEADER_SIZE) return std::string();
    const CfgPacket* p = static_cast<const CfgPacket*>(packet);
    if (p->nType < 0) return std::string();
    const size_t offset = CFG_HEADER_SIZE + static_cast<size_t>(p->nType);
    if (offset >= bufferSize) return std::string();
    const char* text = static_cast<const char*>(packet) + offset;
    const size_t limit = bufferSize - offset;
    const void* nul = memchr(text, '\0', limit);
    return std::string(text, nul ? static_cast<const char*>(nul) - text : limit);
}
