// Device information, ADC readings and the status verdicts of the main window.
#include "LENSBENCHDlg.h"

#include "DeviceInfo.h"
#include "Packets.h"

int g_bInfoReceived = 0;

void CLENSBENCHDlg::ParseProductInfo(const char* text) {
    m_nInfoCut = ParseProductInfoText(text, m_szProductType, m_szVersion, m_nGroup);
    g_bInfoReceived = 1;
}

void CLENSBENCHDlg::ParseAdcValues(const char* text) {
    ParseAdcText(text, m_nAdcH, m_nAdcL, m_nAdcR);
    UpdateData(FALSE);
}

void CLENSBENCHDlg::EvaluateStatus() {
    UpdateData(TRUE);
    StatusInputs in;
    in.bInfoReceived = g_bInfoReceived != 0;
    in.szProductType = m_szProductType;
    in.szVersion = m_szVersion;
    in.nGroup = m_nGroup;
    in.szExpProductType = m_strExpProductType;
    in.szExpVersion = m_strExpVersion;
    in.szExpGroup = m_strExpGroup;
    in.szExpSsid = m_strExpSsid;
    in.szExpQuality = m_strExpQuality;
    in.nSsidQuality = m_nSsidQuality;
    in.nAdcH = m_nAdcH;
    in.nAdcR = m_nAdcR;
    in.nCut = m_nInfoCut;
    // Only stored: a status control takes its colour when it next asks for it.
    EvaluateVerdicts(in, m_nStatus);
}

void CLENSBENCHDlg::SetExpectedValues(const char* productType, const char* version, const char* group,
                                      const char* ssid, const char* quality) {
    m_strExpProductType = productType ? productType : "";
    m_strExpVersion = version ? version : "";
    m_strExpGroup = group ? group : "";
    m_strExpSsid = ssid ? ssid : "";
    m_strExpQuality = quality ? quality : "";
}
