// The process-wide values of the received config packets: the receive buffer, the device-information
// flag and the wireless state. UI thread only: the packets arrive as posted messages to the main window.
#pragma once

#include "ReceivedPacket.h"
#include "WirelessState.h"

// The latest packet of message 0x6400, zeroed before each copy, with the guard byte after it.
alignas(4) extern char g_recvPacket[RECV_BUFFER_SIZE];

// Set by the first kind-5 device information, never cleared.
extern int g_bInfoReceived;

// The wireless state, one block (cleared whole by each state text), and its parts by name.
extern WirelessStateBlock g_wirelessState;
extern int32_t& g_nApCount;
extern ApRecord (&g_apList)[AP_LIST_SIZE];
extern char (&g_szWifiId)[32];
extern char (&g_szWifiPw)[16];
extern int32_t& g_nWifiQ;
extern int32_t& g_nActived;
