// Config packets that the player library posts to the main window, and their dispatch.
#include "LENSBENCHDlg.h"

#include "Packets.h"

#include <cstdlib>
#include <cstring>

alignas(4) char g_recvPacket[RECV_BUFFER_SIZE];

namespace {

// The main window keeps at most 64 access points: a longer table is cut to its first 64.
void CopyApTable() {
    const CfgPacket* packet = reinterpret_cast<const CfgPacket*>(g_recvPacket);
    const size_t n = ApTableBytes(*packet, sizeof g_apList, CFG_MAIN_BUFFER_SIZE);
    std::memcpy(g_apList, packet->Data(), n);
}

} // namespace

LRESULT CLENSBENCHDlg::OnCfgPacket(WPARAM, LPARAM lParam) {
    TellurioPacketRecord* record = reinterpret_cast<TellurioPacketRecord*>(lParam);
    if (!record) return 0;
    // The record and the packet bytes are one block of the library's malloc: ours to free, either way.
    // A record without a packet carries nothing to handle.
    if (!record->pData) {
        free(record);
        return 0;
    }
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
    const TellurioPacketRecord* record = reinterpret_cast<const TellurioPacketRecord*>(lParam);
    if (!record || record->nDataType != CFG_DATA_TYPE) return 0;
    ::Sleep(20);
    ::Sleep(100);
    UpdateData(TRUE);
    return 0;
}
