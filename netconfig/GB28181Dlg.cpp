#include "GB28181Dlg.h"

#include <cstdio>

#include "GbkText.h"
#include "NetConfigStore.h"
#include "TextTable.h"

// clang-format off
BEGIN_MESSAGE_MAP(CGB28181Dlg, CDialog)
ON_BN_CLICKED(IDC_GB_OK, OnOkButton)
ON_BN_CLICKED(IDC_GB_EXIT, OnExitButton)
ON_BN_CLICKED(IDC_GB_ENABLE, OnEnableClicked)
END_MESSAGE_MAP()
// clang-format on

CGB28181Dlg::CGB28181Dlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CGB28181Dlg::~CGB28181Dlg() = default;

void CGB28181Dlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GB_SERVER_IP, m_ipServer);
    DDX_Check(pDX, IDC_GB_ENABLE, m_bEnable);
    DDX_Text(pDX, IDC_GB_ALARM_ID, m_strAlarmId);
    DDV_MaxChars(pDX, m_strAlarmId, 20);
    DDX_Text(pDX, IDC_GB_DEVICE_ID, m_strDeviceId);
    DDV_MaxChars(pDX, m_strDeviceId, 20);
    DDX_Text(pDX, IDC_GB_EXPIRES, m_nExpires);
    DDV_MinMaxUInt(pDX, m_nExpires, 30, 86400);
    DDX_Text(pDX, IDC_GB_LOCAL_PORT, m_nLocalPort);
    DDV_MinMaxUInt(pDX, m_nLocalPort, 1025, 65534);
    DDX_Text(pDX, IDC_GB_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, 20);
    DDX_Text(pDX, IDC_GB_SERVER_PORT, m_nServerPort);
    DDV_MinMaxUInt(pDX, m_nServerPort, 1025, 65534);
    DDX_Text(pDX, IDC_GB_KEEPALIVE, m_nKeepAlive);
    DDV_MinMaxUInt(pDX, m_nKeepAlive, 10, 300);
    DDX_Text(pDX, IDC_GB_EX_REFRESH, m_nExRefresh);
    DDV_MinMaxUInt(pDX, m_nExRefresh, 0, 600);
    DDX_Text(pDX, IDC_GB_KA_OUTTIMES, m_nKaOutTimes);
    DDV_MinMaxUInt(pDX, m_nKaOutTimes, 0, 10);
}

BOOL CGB28181Dlg::OnInitDialog() {
    CDialog::OnInitDialog();

    static const struct {
        int id;
        int text;
    } kTexts[] = {
        {IDC_GB_ENABLE, 57},
        {IDC_GB_DEVICE_ID_LABEL, 58},
        {IDC_GB_PASSWORD_LABEL, 59},
        {IDC_GB_SERVER_IP_LABEL, 60},
        {IDC_GB_SERVER_PORT_LABEL, 61},
        {IDC_GB_LOCAL_PORT_LABEL, 62},
        {IDC_GB_EXPIRES_LABEL, 63},
        {IDC_GB_ALARM_ID_LABEL, 64},
        {IDC_GB_KEEPALIVE_LABEL, 65},
        {IDC_GB_OK, 51},
        {IDC_GB_EXIT, 52},
    };
    for (const auto& t : kTexts)
        SetDlgItemText(t.id, LoadText(t.text));

    // Every run starts from the store, whatever the members kept from the last one.
    const GbConfig& gb = g_netConfig.gb;
    m_bEnable = gb.GB_bEnable;
    m_strDeviceId = gb.GB_devid;
    m_strPassword = gb.GB_devpasswd;
    m_nServerPort = gb.GB_serverport;
    m_nLocalPort = gb.GB_localport;
    m_nExpires = (UINT)gb.GB_expires;
    m_strAlarmId = gb.GB_alarminID;
    m_nKeepAlive = (UINT)gb.GB_keepalive;
    m_nKaOutTimes = (UINT)gb.GB_KA_outtimes;
    m_nExRefresh = (UINT)gb.GB_EX_refresh;

    // The control takes the address first octet high; a text the parser rejects shows as
    // 255.255.255.255, and no text shows 0.0.0.0.
    m_ipServer.SetAddress(gb.GB_serverip[0] ? ReadDottedAddress(gb.GB_serverip) : 0);

    UpdateData(FALSE);
    return TRUE;
}

void CGB28181Dlg::OnOkButton() {
    if (!UpdateData(TRUE)) return;

    GbConfig& gb = g_netConfig.gb;
    gb.GB_bEnable = m_bEnable;
    CopyGbkBounded(gb.GB_devid, sizeof gb.GB_devid, m_strDeviceId);
    CopyGbkBounded(gb.GB_devpasswd, sizeof gb.GB_devpasswd, m_strPassword);
    gb.GB_serverport = (uint16_t)m_nServerPort;
    gb.GB_localport = (uint16_t)m_nLocalPort;
    gb.GB_expires = (int32_t)m_nExpires;
    gb.GB_keepalive = (int32_t)m_nKeepAlive;
    gb.GB_KA_outtimes = (int32_t)m_nKaOutTimes;
    gb.GB_EX_refresh = (int32_t)m_nExRefresh;
    CopyGbkBounded(gb.GB_alarminID, sizeof gb.GB_alarminID, m_strAlarmId);

    // Blank fields read as 0, so an empty control stores "0.0.0.0".
    DWORD address = 0;
    m_ipServer.GetAddress(address);
    snprintf(gb.GB_serverip, sizeof gb.GB_serverip, "%u.%u.%u.%u", (unsigned)FIRST_IPADDRESS(address),
             (unsigned)SECOND_IPADDRESS(address), (unsigned)THIRD_IPADDRESS(address),
             (unsigned)FOURTH_IPADDRESS(address));

    EndDialog(IDOK);
}

void CGB28181Dlg::OnExitButton() {
    // The standard OK path: the checks still run, but nothing goes into the store.
    CDialog::OnOK();
}

void CGB28181Dlg::OnEnableClicked() {
    // The check box only toggles itself; the value is read on OK.
}
