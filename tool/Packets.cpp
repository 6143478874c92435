// Config packets that the player library posts to the main window.
#include "LENSBENCHDlg.h"

#include <cstdlib>

// Not built yet: decoding the packet. The record (and the packet bytes with it) is ours to free, so
// it is released even now.
LRESULT CLENSBENCHDlg::OnCfgPacket(WPARAM, LPARAM lParam) {
    free(reinterpret_cast<void*>(lParam));
    return 0;
}

// Not built yet: the second form of a received packet.
LRESULT CLENSBENCHDlg::OnInfoPacket(WPARAM, LPARAM) { return 0; }
