// The pan-tilt keys' command codes, the pan-tilt test sequence and the text handed to the pan-tilt
// plug-in. Platform-free: no <windows.h> here.
#pragma once

#include <cstddef>
#include <string>

constexpr int PANTILT_NO_CODE = -1;
constexpr int PANTILT_STOP = 21; // also the stop code of the test sequence

// The code for a press (pressed true) or release of the key with this control id; PANTILT_NO_CODE
// for ids that are no pan-tilt key and for releases that send nothing.
int PanTiltCode(int controlId, bool pressed);

// What the test sequence drives; the main window supplies the real operations.
class PanTiltSequenceHooks {
public:
    virtual ~PanTiltSequenceHooks() = default;
    virtual void EmptyOperation() = 0;
    virtual void Move(int command, int speed) = 0;
    virtual void Command(int code) = 0;
    virtual void Wait(unsigned ms) = 0;
    virtual unsigned long NowSeconds() = 0; // the seed of every draw
};

// Three passes of move, random pause, stop; then the closing pauses. Blocks for 14.7 to 30.2 s of
// Wait() with the real hooks.
void RunPanTiltTestSequence(PanTiltSequenceHooks& hooks);

// A pause drawn as the sequence draws it: the generator is reseeded with the time in seconds first,
// so two draws in the same second give the same pause.
unsigned PanTiltPause(unsigned long nowSeconds, unsigned least, unsigned range);

// The plug-in's parameter text of a kind-5 packet that lies in a buffer of bufferSize bytes: it starts
// at 20 + nType and ends at the first NUL or the buffer's end. An offset outside the buffer (the
// camera chose it) gives the empty text.
std::string SwivelParamText(const void* packet, size_t bufferSize);
