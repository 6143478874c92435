// Netquill's bilingual text table: English and Chinese (GBK) texts in 64-byte slots at fixed
// indices. Platform-free except LoadText, which hands out the framework's string type.
#pragma once

constexpr int NQ_TEXT_COUNT = 108;
constexpr int NQ_TEXT_SLOT = 64;

// The language the host chose: 1 English, any other value Chinese. Set by InitRCDlg and
// InitNetworkDlg, read at every lookup.
extern int g_nLanguage;

// The 64-byte slot of index in the current language's table. The first call of the process decides
// from the store's ipcinfoType whether texts 23 and 24 become device labels (ApplyInfoTypeLabels).
// An index outside the table gives an empty text.
const char* GetText(int index);

// With the store's ipcinfoType 1, replaces texts 23 and 24 of both tables by the device labels.
// Called once, by the first GetText.
void ApplyInfoTypeLabels();

#ifdef _WIN32
#include "framework/AfxString.h"
// A copy of GetText(index), as the dialogs fetch their texts.
CString LoadText(int index);
#endif
