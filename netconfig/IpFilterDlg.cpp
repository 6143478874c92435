#include "IpFilterDlg.h"

#include <cstdio>
#include <cstring>

#include "NetquillApp.h"
#include "ParamText.h"
#include "TextTable.h"

namespace {
const UINT kTimerPeriodMs = 500;
const int kFieldSize = 32; // start and end texts in the table and in the requests

struct Octets {
    int b[4] = {0, 0, 0, 0};
    int Last() const { return b[3]; }
    bool SameNetwork(const Octets& o) const { return b[0] == o.b[0] && b[1] == o.b[1] && b[2] == o.b[2]; }
};

Octets ReadControl(const CIPAddressCtrl& ctrl) {
    BYTE b0 = 0, b1 = 0, b2 = 0, b3 = 0;
    ctrl.GetAddress(b0, b1, b2, b3); // blank fields read as 0
    Octets o;
    o.b[0] = b0;
    o.b[1] = b1;
    o.b[2] = b2;
    o.b[3] = b3;
    return o;
}

// A row's text read back as four numbers; what does not read stays 0.
Octets ReadText(const char* text) {
    Octets o;
    sscanf(text, "%d.%d.%d.%d", &o.b[0], &o.b[1], &o.b[2], &o.b[3]);
    return o;
}

// A host address a camera can filter: no network 0, loopback, multicast or reserved first octet, no
// network or broadcast last octet.
bool IsFilterableAddress(const Octets& o) {
    return o.b[0] >= 1 && o.b[0] <= 239 && o.b[0] != 127 && o.b[3] >= 1 && o.b[3] <= 254;
}

CString Dotted(const Octets& o) {
    CString s;
    s.Format("%d.%d.%d.%d", o.b[0], o.b[1], o.b[2], o.b[3]);
    return s;
}

bool SameField(const char* a, const char* b) {
    return strncmp(a, b, kFieldSize) == 0;
}
} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CIpFilterDlg, CDialog)
ON_BN_CLICKED(IDC_IPF_NO_LIMIT, OnModeClicked)
ON_BN_CLICKED(IDC_IPF_FORBID, OnModeClicked)
ON_BN_CLICKED(IDC_IPF_ALLOW, OnModeClicked)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_IPF_REFRESH, OnRefresh)
ON_BN_CLICKED(IDC_IPF_DELETE, OnDelete)
ON_NOTIFY(NM_CLICK, IDC_IPF_LIST, OnListClick)
ON_BN_CLICKED(IDC_IPF_ADD, OnAdd)
ON_NOTIFY(IPN_FIELDCHANGED, IDC_IPF_START, OnStartChanged)
ON_BN_CLICKED(IDC_IPF_SAVE, OnSave)
ON_BN_CLICKED(IDC_IPF_RANGE, OnRangeToggled)
ON_NOTIFY(IPN_FIELDCHANGED, IDC_IPF_END, OnEndChanged)
ON_BN_CLICKED(IDC_IPF_EXIT, OnCloseButton)
END_MESSAGE_MAP()
// clang-format on

CIpFilterDlg::CIpFilterDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CIpFilterDlg::~CIpFilterDlg() = default;

CString CIpFilterDlg::StateText(int nMode) {
    switch (nMode) {
    case MODE_FORBID:
        return LoadText(87);
    case MODE_ALLOW:
        return LoadText(88);
    default:
        return LoadText(86);
    }
}

void CIpFilterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_IPF_END, m_ipEnd);
    DDX_Control(pDX, IDC_IPF_START, m_ipStart);
    DDX_Control(pDX, IDC_IPF_DELETE, m_btnDelete);
    DDX_Control(pDX, IDC_IPF_LIST, m_list);
    DDX_Radio(pDX, IDC_IPF_NO_LIMIT, m_nMode);
    DDX_Check(pDX, IDC_IPF_RANGE, m_bRange);
}

BOOL CIpFilterDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SetWindowText(LoadText(82));
    static const struct {
        int id;
        int text;
    } kTexts[] = {
        {IDC_IPF_NO_LIMIT, 86}, {IDC_IPF_FORBID, 87}, {IDC_IPF_ALLOW, 88},
        {IDC_IPF_RANGE, 99},    {IDC_IPF_ADD, 89},    {IDC_IPF_DELETE, 90},
        {IDC_IPF_REFRESH, 91},  {IDC_IPF_SAVE, 92},   {IDC_IPF_EXIT, 52},
    };
    for (const auto& t : kTexts)
        SetDlgItemText(t.id, LoadText(t.text));

    // A fresh request buffer for this run: kind 6, module 35.
    memset(m_packet, 0, sizeof m_packet);
    CfgSetKindModule(Pkt()->header, CFG_KIND_SETTINGS, CFG_MODULE_IPFILTER);

    m_nTimerId = 0;
    SetTimer(m_nTimerId, kTimerPeriodMs);
    m_bRefreshPending = 0;

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int col = 0; col < 3; ++col)
        m_list.InsertColumn(col, LoadText(83 + col), LVCFMT_CENTER, 130);

    m_nSelected = -1;
    m_bRange = 0;
    m_ipEnd.EnableWindow(FALSE);
    m_bSavePending = 0;

    // Opening sends nothing: the list shows the device table of the last parse.
    FillList(0);
    return TRUE;
}

BOOL CIpFilterDlg::DestroyWindow() {
    if (m_hWnd) KillTimer(m_nTimerId);
    return CDialog::DestroyWindow();
}

void CIpFilterDlg::FillList(int which) {
    if (which == 1) {
        const CString state = StateText(m_nMode);
        for (int i = 0, n = m_list.GetItemCount(); i < n; ++i)
            m_list.SetItemText(i, 2, state);
    } else {
        m_nMode = m_nDeviceMode;
        m_list.DeleteAllItems();
        const CString state = StateText(m_nDeviceMode);
        for (int i = 0; i < m_nDeviceCount; ++i) {
            const IpFilterEntry& e = m_devEntries[i];
            const int row = m_list.InsertItem(m_list.GetItemCount(), e.start);
            if (e.end[0]) m_list.SetItemText(row, 1, e.end);
            m_list.SetItemText(row, 2, state);
        }
    }
    UpdateData(FALSE);
}

void CIpFilterDlg::ParseList(const char* text) {
    m_nDeviceCount = ReadIpFilterList(text, m_devEntries, m_nDeviceMode, m_nMode);
    m_bSavePending = 0;
}

void CIpFilterDlg::OnReply(const void* pFromType) {
    if (!pFromType || !m_hWnd || !IsWindowVisible()) return;
    const char* reply = static_cast<const char*>(pFromType);
    int32_t nType = 0, nParam = 0;
    memcpy(&nType, reply, sizeof nType);
    memcpy(&nParam, reply + 4, sizeof nParam);

    ParseList(reply + 16);

    int text = -1;
    if (nType == REQ_ADD && nParam == ST_PARAM_ERROR)
        text = 98;
    else if (nType == REQ_ADD && nParam == ST_FULL)
        text = 94;
    else if (nType == REQ_ADD && nParam == ST_PRESENT)
        text = 95;
    else if (nType == REQ_DELETE && nParam == ST_NOT_PRESENT)
        text = 96;
    else if (nType == REQ_SET_MODE && nParam == ST_PARAM_ERROR)
        text = 98;
    if (text >= 0) MessageBox(LoadText(text), nullptr, MB_OK);

    // The list shows the camera's list again, the radio group the camera's mode.
    FillList(0);
}

void CIpFilterDlg::OnAdd() {
    if (m_list.GetItemCount() >= MAX_ENTRIES) {
        MessageBox(LoadText(94), LoadText(100), MB_ICONEXCLAMATION);
        return;
    }

    const Octets a = ReadControl(m_ipStart);
    if (!IsFilterableAddress(a)) {
        MessageBox(LoadText(97));
        return;
    }
    const CString startText = Dotted(a);

    Octets b;
    CString endText;
    if (m_bRange == 1) {
        b = ReadControl(m_ipEnd);
        if (!IsFilterableAddress(b) || !b.SameNetwork(a) || b.Last() <= a.Last()) {
            MessageBox(LoadText(97));
            return;
        }
        endText = Dotted(b);
    }
    const bool candidateRange = !endText.IsEmpty();

    for (int i = 0, n = m_list.GetItemCount(); i < n; ++i) {
        const CString rowStart = m_list.GetItemText(i, 0);
        const CString rowEnd = m_list.GetItemText(i, 1);
        const Octets r = ReadText(rowStart);
        const Octets q = ReadText(rowEnd);
        const bool rowRange = !rowEnd.IsEmpty();
        bool conflict;
        if (!candidateRange && !rowRange)
            conflict = SameField(startText, rowStart);
        else if (!candidateRange)
            conflict = a.SameNetwork(r) && r.Last() <= a.Last() && a.Last() <= q.Last();
        else if (!rowRange)
            conflict = r.SameNetwork(a) && a.Last() <= r.Last() && r.Last() <= b.Last();
        else
            conflict = a.SameNetwork(r) && b.Last() >= r.Last() && a.Last() <= q.Last();
        if (conflict) {
            MessageBox(LoadText(95));
            return;
        }
    }

    // Only the list changes; Save sends the difference.
    const int row = m_list.InsertItem(m_list.GetItemCount(), startText);
    if (candidateRange) m_list.SetItemText(row, 1, endText);
    m_list.SetItemText(row, 2, StateText(m_nMode));
}

void CIpFilterDlg::OnDelete() {
    UpdateData(TRUE);
    // Only a row clicked since the last clearing counts; a keyboard selection alone does not.
    if (m_nSelected == -1) {
        MessageBox(LoadText(93));
        return;
    }
    for (int i = m_list.GetItemCount() - 1; i >= 0; --i)
        if (m_list.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) m_list.DeleteItem(i);
    m_nSelected = -1;
}

void CIpFilterDlg::OnListClick(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    m_nSelected = item->iItem;
    if (m_nSelected != -1) UpdateData(FALSE);
    *pResult = 0;
}

void CIpFilterDlg::ClearSelection() {
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_nSelected = -1;
}

void CIpFilterDlg::OnModeClicked() {
    ClearSelection();
    UpdateData(TRUE);
    FillList(1); // the mode is only sent by Save
}

void CIpFilterDlg::CopyNetwork(CIPAddressCtrl& from, CIPAddressCtrl& to) {
    const Octets f = ReadControl(from);
    const Octets t = ReadControl(to);
    // Setting an address may notify again; the guard keeps the two controls from echoing.
    m_bSyncingAddress = true;
    to.SetAddress((BYTE)f.b[0], (BYTE)f.b[1], (BYTE)f.b[2], (BYTE)t.b[3]);
    m_bSyncingAddress = false;
}

void CIpFilterDlg::OnRangeToggled() {
    ClearSelection();
    m_bRange = !m_bRange;
    if (!m_bRange) {
        m_ipEnd.ClearAddress();
    } else {
        const Octets s = ReadControl(m_ipStart);
        if (s.b[0] || s.b[1] || s.b[2]) CopyNetwork(m_ipStart, m_ipEnd);
    }
    m_ipEnd.EnableWindow(m_bRange);
}

void CIpFilterDlg::OnStartChanged(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (m_bSyncingAddress) return;
    ClearSelection();
    if (m_bRange) CopyNetwork(m_ipStart, m_ipEnd);
}

void CIpFilterDlg::OnEndChanged(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (m_bSyncingAddress) return;
    ClearSelection();
    if (m_bRange) CopyNetwork(m_ipEnd, m_ipStart);
}

void CIpFilterDlg::OnTimer(UINT_PTR nIDEvent) {
    m_bRefreshPending = 0;
    CDialog::OnTimer(nIDEvent);
}

void CIpFilterDlg::OnRefresh() {
    if (m_bRefreshPending) return;
    m_bRefreshPending = 1;
    // Kept as the query has always gone out: a click waits one clock tick at most and holds no lock.
    ::Sleep(1);
    Pkt()->nType = REQ_QUERY; // nParam keeps what the previous request left
    NetquillSend(Pkt(), (int)CFG_HEADER_SIZE);
}

void CIpFilterDlg::SendRequest(int nType, int nParam, const char* start, const char* end) {
    CfgPacket* pkt = Pkt();
    pkt->nType = nType;
    pkt->nParam = nParam;
    int length = (int)CFG_HEADER_SIZE;
    if (start) {
        CopyFixedField(pkt->Data(), kFieldSize, start);
        CopyFixedField(pkt->Data() + kFieldSize, kFieldSize, end);
        length += 2 * kFieldSize;
    }
    NetquillSend(pkt, length);
}

void CIpFilterDlg::OnSave() {
    if (m_bSavePending == 1) return;

    // Every save sends the mode, changed or not; then the differences, without waiting for replies.
    m_nDeviceMode = m_nMode;
    SendRequest(REQ_SET_MODE, m_nMode, nullptr, nullptr);

    const int rows = m_list.GetItemCount();
    auto rowMatches = [this](int row, const IpFilterEntry& e) {
        return SameField(m_list.GetItemText(row, 0), e.start) && SameField(m_list.GetItemText(row, 1), e.end);
    };
    for (int i = 0; i < m_nDeviceCount; ++i) {
        const IpFilterEntry& e = m_devEntries[i];
        bool listed = false;
        for (int row = 0; row < rows && !listed; ++row)
            listed = rowMatches(row, e);
        if (!listed) SendRequest(REQ_DELETE, 2 * kFieldSize, e.start, e.end);
    }
    for (int row = 0; row < rows; ++row) {
        bool known = false;
        for (int i = 0; i < m_nDeviceCount && !known; ++i)
            known = rowMatches(row, m_devEntries[i]);
        if (!known) {
            const CString start = m_list.GetItemText(row, 0);
            const CString end = m_list.GetItemText(row, 1);
            SendRequest(REQ_ADD, 2 * kFieldSize, start, end);
        }
    }
    m_bSavePending = 1;
}

void CIpFilterDlg::OnCloseButton() {
    CDialog::OnOK();
}
