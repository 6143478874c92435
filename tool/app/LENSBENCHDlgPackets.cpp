// Config packets that the player library posts to the main window, and their dispatch.
#include "LENSBENCHDlg.h"

#include "Packets.h"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

alignas(4) char g_recvPacket[RECV_BUFFER_SIZE];

namespace {

// Whether all of [p, p + size) is committed read-write memory of this process; privateOnly: of its
// own allocations (a heap's pages), not of a mapped image or file.
bool InReadWriteMemory(const void* p, size_t size, bool privateOnly) {
    const uintptr_t end = reinterpret_cast<uintptr_t>(p) + size;
    if (end < reinterpret_cast<uintptr_t>(p)) return false;
    for (uintptr_t at = reinterpret_cast<uintptr_t>(p); at < end;) {
        MEMORY_BASIC_INFORMATION mbi;
        if (::VirtualQuery(reinterpret_cast<const void*>(at), &mbi, sizeof mbi) != sizeof mbi) return false;
        if (mbi.State != MEM_COMMIT || (privateOnly && mbi.Type != MEM_PRIVATE)) return false;
        if (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
        switch (mbi.Protect & 0xFF) {
        case PAGE_READWRITE:
        case PAGE_EXECUTE_READWRITE:
            break;
        case PAGE_WRITECOPY:
        case PAGE_EXECUTE_WRITECOPY:
            if (privateOnly) return false;
            break;
        default:
            return false;
        }
        at = reinterpret_cast<uintptr_t>(mbi.BaseAddress) + mbi.RegionSize;
    }
    return true;
}

// Any program can post 0x6400 and 0x6401 to the window, with any lParam: what is not the library's
// record is left alone, and said once.
void TraceForeignRecord(UINT message, LPARAM lParam) {
    char line[128];
    _snprintf(line, sizeof line - 1,
              "LENSKIT: message 0x%04X, lParam 0x%08lX: no record of the player library, ignored\n", message,
              static_cast<unsigned long>(lParam));
    line[sizeof line - 1] = '\0';
    ::OutputDebugStringA(line);
}

// The 0x6400 record at lParam when it is a live block of the heap that malloc and free use (the
// library's, and the only one free() may be given), laid out as the library lays it out; else NULL.
// Its memory is looked at before a byte of it is read.
TellurioPacketRecord* LibraryPacketRecord(LPARAM lParam) {
    void* p = reinterpret_cast<void*>(lParam);
    if (!InReadWriteMemory(p, PACKET_RECORD_SIZE, true)) return nullptr;
    const HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    if (!::HeapValidate(heap, 0, p)) return nullptr;
    const SIZE_T blockSize = ::HeapSize(heap, 0, p);
    if (blockSize == static_cast<SIZE_T>(-1)) return nullptr;
    TellurioPacketRecord* record = static_cast<TellurioPacketRecord*>(p);
    if (!IsLibraryPacketRecord(reinterpret_cast<uintptr_t>(record),
                               reinterpret_cast<uintptr_t>(record->pData), record->nLength, blockSize))
        return nullptr;
    return record;
}

// The 0x6401 record at lParam when its memory is there to read and its fields are in range; else NULL.
// It lies inside an object of the library, which keeps it.
const TellurioPacketRecord* LibraryNoticeRecord(LPARAM lParam) {
    const void* p = reinterpret_cast<const void*>(lParam);
    if (!InReadWriteMemory(p, PACKET_RECORD_SIZE, false)) return nullptr;
    const TellurioPacketRecord* record = static_cast<const TellurioPacketRecord*>(p);
    if (!IsPlayerWindow(record->nChannel)) return nullptr;
    if (static_cast<uint32_t>(record->nLength) > CFG_MAIN_BUFFER_SIZE) return nullptr;
    return record;
}

// The main window keeps at most 64 access points: a longer table is cut to its first 64.
void CopyApTable() {
    const CfgPacket* packet = reinterpret_cast<const CfgPacket*>(g_recvPacket);
    const size_t n = ApTableBytes(*packet, sizeof g_apList, CFG_MAIN_BUFFER_SIZE);
    std::memcpy(g_apList, packet->Data(), n);
}

} // namespace

LRESULT CLENSBENCHDlg::OnCfgPacket(WPARAM, LPARAM lParam) {
    TellurioPacketRecord* record = LibraryPacketRecord(lParam);
    if (!record) {
        TraceForeignRecord(WM_CFG_PACKET, lParam);
        return 0;
    }
    // The record and the packet bytes are one block of the library's malloc: ours to free, either way.
    if (!StoreReceivedPacket(g_recvPacket, record->pData, static_cast<uint32_t>(record->nLength))) {
        free(record);
        return -1;
    }
    if (record->nDataType == CFG_DATA_TYPE) {
        try {
            // While the pan-tilt plug-in's dialog is open, every packet is the plug-in's.
            if (g_pfnSwivelCmdProc)
                g_pfnSwivelCmdProc(g_recvPacket);
            else
                DispatchCfgPacket(record->nChannel, static_cast<uint32_t>(record->nLength));
        } catch (...) {
            // A packet that cannot be handled is dropped; the record is still released.
        }
    }
    free(record);
    return 0;
}

void CLENSBENCHDlg::DispatchCfgPacket(int channel, size_t arrived) {
    CfgPacket* packet = reinterpret_cast<CfgPacket*>(g_recvPacket);
    // A text offset or table length that points outside what arrived: the packet is dropped whole.
    if (!CfgPacketFits(*packet, arrived)) return;
    switch (RouteCfgPacket(*packet)) {
    case CfgRoute::PanTilt:
        ShowSwivelpaneDialog(channel, packet);
        break;
    case CfgRoute::DeviceInfo:
        ParseProductInfo(DeviceInfoText(g_recvPacket));
        break;
    case CfgRoute::ApList:
        CopyApTable();
        ShowListedQuality();
        break;
    case CfgRoute::WirelessState:
        ParseWirelessState(packet->Data());
        break;
    case CfgRoute::ScanReply:
        // While a search waits, only the searched window's camera answers it: another camera's reply
        // is dropped whole, list included.
        if (m_bScanWaiting && channel != m_nScanWindow) break;
        CopyApTable();
        // Only the first reply while a search waits answers it, with no more records than it carried.
        if (m_bScanWaiting && m_nScanReply < 0) m_nScanReply = ScanReplyCount(*packet);
        // The box ends with the count; a reply with no search waiting ends nothing.
        m_popUp.EndPopUp(packet->nParam);
        break;
    case CfgRoute::AdcValues:
        ParseAdcValues(packet->Data());
        break;
    case CfgRoute::Ignore:
        break;
    }
}

// The second form carries nothing the window keeps; the library owns the record.
LRESULT CLENSBENCHDlg::OnInfoPacket(WPARAM, LPARAM lParam) {
    const TellurioPacketRecord* record = LibraryNoticeRecord(lParam);
    if (!record) {
        TraceForeignRecord(WM_INFO_PACKET, lParam);
        return 0;
    }
    if (record->nDataType != CFG_DATA_TYPE) return 0;
    // The 120 ms pause is kept as operators know it: no camera's answer waits for this thread now.
    ::Sleep(20);
    ::Sleep(100);
    UpdateData(TRUE);
    return 0;
}

void CLENSBENCHDlg::FreePendingPackets() {
    // Records the library posted that no loop will take any more: the window's end would drop them,
    // and their blocks with them.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_CFG_PACKET, WM_CFG_PACKET, PM_REMOVE))
        if (TellurioPacketRecord* record = LibraryPacketRecord(msg.lParam)) free(record);
}
