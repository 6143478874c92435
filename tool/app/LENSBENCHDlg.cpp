// The main window: construction, initialisation, shut-down, message map, timers and tray icon.
#include "LENSBENCHDlg.h"

#include "ConfigFile.h"
#include "DeviceTable.h"
#include "DlgDraw.h"
#include "DlgFullScreen.h"
#include "LENSBENCH.h"
#include "LENSBENCHDlgNumberPush.h"
#include "LayoutAnchor.h"
#include "MainLayout.h"
#include "NetWatchWorkers.h"
#include "QLCLIENT.h"
#include "QLSDKP.h"
#include "WidgetRes.h"
#include "resource.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

namespace {

const char kSdkInitFailed[] = "初始化SDK失败";
const char kProgramPathTooLong[] =
    "程序所在文件夹的路径过长，号码推送、结果文件、错误日志和设置文件都不可用，"
    "请把程序放到路径较短的文件夹";
const char kCreatePlayerFailed[] = "创建播放器失败";
const char kDeadPixHint[] = "亮点校正前要把sensor或者镜头遮全黑";
const char kTrayExit[] = "退出软件";
const char kVersionSuffix[] = "V1.0.0.1";
const char kTrayTipAdd[] = "TURN服务器";
const char kTrayTipDelete[] = "IPCOrvanet工具 ";

const UINT kTrayIconId = 128;
const UINT kTrayMenuExit = 2;

// The player library's callbacks that the window does not use: one empty function per slot signature.
template <typename... Args> void __cdecl IgnoreCallback(void*, Args...) {}

// The preview SDK's event callback, unused.
void __cdecl IgnorePreviewEvent(int, int, void*, int, void*) {}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CLENSBENCHDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BTN_BROWSE_CFG, OnLoadConfigFile)
    ON_BN_CLICKED(IDC_BTN_START, StartStopService)
    ON_WM_SIZE()
    ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
    ON_MESSAGE(WM_INFO_PACKET, OnInfoPacket)
    ON_MESSAGE(WM_REFRESH_DEVLIST, OnRefreshDeviceListMsg)
    ON_REGISTERED_MESSAGE(WM_TASKBARCREATED, OnTaskbarCreated)
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_BTN_CLEAR_LIST, OnNoEffect)
    ON_NOTIFY(NM_CLICK, IDC_LIST_DEVICES, OnDeviceListClick)
    ON_WM_MOVE()
    ON_WM_CANCELMODE()
    ON_BN_CLICKED(IDC_BTN_FULLSCREEN_SPARE, OnNoEffect)
    ON_BN_CLICKED(IDC_CHECK_AUDIO, OnAudioListen)
    ON_BN_CLICKED(IDC_BTN_REMOTE_SETTINGS, OnRemoteConfig)
    ON_MESSAGE(WM_CFG_PACKET, OnCfgPacket)
    ON_BN_CLICKED(IDC_CHECK_NUMBER_PUSH, OnNumberPushSwitch)
    ON_WM_LBUTTONDBLCLK()
    ON_BN_CLICKED(IDC_BTN_RESTORE_SYSTEM, OnRebootDevice)
    ON_BN_CLICKED(IDC_BTN_SET_SCENE, OnSetScene)
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_PREVIEW_PLACE1, OnPlacePreview)
    ON_MESSAGE(WM_PREVIEW_PLACE2, OnPlacePreview)
    ON_BN_CLICKED(IDC_BTN_MODE_BW, OnModeBlackWhite)
    ON_BN_CLICKED(IDC_BTN_MODE_COLOR, OnModeColour)
    ON_BN_CLICKED(IDC_BTN_MODE_AUTO, OnModeAuto)
    ON_WM_HELPINFO()
    ON_BN_CLICKED(IDC_BTN_CUT_TEST, OnCutTest)
    ON_BN_CLICKED(IDC_BTN_WIFI_SCAN, OnWirelessSearch)
    ON_CBN_SELCHANGE(IDC_COMBO_WIFI, OnWirelessSelChange)
    ON_MESSAGE(WM_MYBUTTON_STATE, OnMyButtonState)
    ON_BN_CLICKED(IDC_NOOP_1080, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_GROUP_WIFI, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_LABEL_CORRECT_STATUS, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_EDIT_VERSION, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_NOOP_1088, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_LABEL_USER, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_LABEL_CLOUD_NUMBER, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_NOOP_1092, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_NOOP_1099, OnPanTiltEmpty)
    ON_BN_CLICKED(IDC_PTZ_WAIT1, OnPanTiltWait)
    ON_BN_CLICKED(IDC_PTZ_WAIT2, OnPanTiltWait)
    ON_BN_CLICKED(IDC_PTZ_WAIT3, OnPanTiltWait)
    ON_BN_CLICKED(IDC_PTZ_TEST, OnPanTiltTest)
    ON_BN_CLICKED(IDC_NOOP_1082, OnNoEffect)
    ON_BN_CLICKED(IDC_BTN_APPLY_SHIFT, OnApplyShift)
    ON_BN_CLICKED(IDC_BTN_APPLY_THRESHOLD, OnApplyThreshold)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_BN_CLICKED(IDC_BTN_DEADPIX, OnCorrectDeadPixels)
    ON_WM_GETMINMAXINFO()
    ON_BN_CLICKED(IDC_NOOP_1088, OnNoEffect) // never reached: the row above wins
    ON_BN_CLICKED(IDC_NOOP_10100, OnNoEffect)
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(IDC_BTN_FULLSCREEN, OnFullScreen)
    ON_WM_MOUSEWHEEL()
    ON_WM_RBUTTONUP()
    ON_BN_CLICKED(IDC_BTN_DISCONNECT_ALL, OnDisconnectAll)
    ON_MESSAGE(WM_LEAVE_FULLSCREEN, OnLeaveFullScreen)
    ON_MESSAGE(WM_VIDEO_CLICKED, OnVideoClicked)
    ON_BN_CLICKED(IDC_BTN_DISCONNECT, OnDisconnect)
    ON_EN_CHANGE(IDC_EDIT_USER, OnCredentialsChanged)
    ON_EN_CHANGE(IDC_EDIT_PASSWORD, OnCredentialsChanged)
    ON_MESSAGE(WM_CONNECT_STATE, OnConnectStateMsg)
END_MESSAGE_MAP()
// clang-format on

CLENSBENCHDlg::CLENSBENCHDlg(CWnd* pParent)
    : CDialog(IDD_LENSKIT_DIALOG, pParent), m_nAdcH(0), m_nAdcL(0), m_nAdcR(0), m_nGroup(0),
      m_bServiceRunning(0), m_pAnchor(nullptr), m_pDlgDraw(nullptr), m_nSsidQuality(0), m_nSsidFound(0),
      m_hAccel(nullptr), m_nShift(0), m_nThreshold(0), m_nVersionWnd(0), m_bShutDownDone(false),
      m_bScanWaiting(false), m_nScanWindow(0), m_nScanReply(-1), m_nCloseRetries(0), m_nInfoCut(0) {
    memset(m_szProductType, 0, sizeof m_szProductType);
    memset(m_szVersion, 0, sizeof m_szVersion);
    for (int& s : m_nStatus)
        s = VERDICT_UNKNOWN;
    for (int& w : m_nAudioWord)
        w = 0;
    m_szNumberDir[0] = m_szResultDir[0] = m_szIniPath[0] = '\0';

    m_hIcon = AfxGetApp()->LoadIcon(IDI_MAINWND);

    // The constructor's four players exist before the preview SDK is initialised.
    for (int& h : m_hPlayers)
        h = QLSP_CreatePlayer();
}

CLENSBENCHDlg::~CLENSBENCHDlg() {
    // The SDK ends its threads here; the configuration buffers it may still send (m_config) go only
    // after this body, with the members.
    QLC_ReleaseSDK();
    delete m_pDlgDraw;
    m_pDlgDraw = nullptr;
}

void CLENSBENCHDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COMBO_WIFI, m_comboWifi);
    DDX_Control(pDX, IDC_LIST_SERVICE_LOG, m_listServiceLog);
    DDX_Control(pDX, IDC_LIST_DEVICES, m_listDevices);
    DDX_Control(pDX, IDC_STATIC_SIGNAL, m_staticSignal);
    DDX_Control(pDX, IDC_EDIT_CORRECT_STATUS, m_editCorrection);
    DDX_Control(pDX, IDC_EDIT_CLOUD_NUMBER, m_editNumber);
    DDX_Control(pDX, IDC_STATIC_VIDEO, m_staticVideo);
    DDX_Control(pDX, IDC_EDIT_USER, m_editUser);
    DDX_Control(pDX, IDC_EDIT_PASSWORD, m_editPassword);
    DDX_Control(pDX, IDC_EDIT_VERSION, m_editVersion);
}

BOOL CLENSBENCHDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // The library may call back as soon as its callbacks are registered: the window must be reachable
    // through the global reference before that, not after.
    g_App.pMainDlg = this;
    m_player.RegisterCallback(
        this, &CLENSBENCHDlg::OnConnectState, IgnoreCallback<_ST_ChnInfo*, unsigned long>,
        IgnoreCallback<int, char*>, IgnoreCallback<_ST_RemoteVideo*, int>,
        IgnoreCallback<int, unsigned long, unsigned long, unsigned long, unsigned long>,
        IgnoreCallback<_ST_DOWNLOADRATE*>, IgnoreCallback<int, int>, IgnoreCallback<const char*, int>,
        IgnoreCallback<PTZ_INFO_T*>, &CLENSBENCHDlg::OnDeviceVersion,
        IgnoreCallback<int, _ST_ChnInfo*, char*>, IgnoreCallback<int, _ST_ChnInfo*, char*>,
        IgnoreCallback<int, _ST_ChnInfo*>, IgnoreCallback<int, _ST_ChnInfo*>,
        IgnoreCallback<int, _ST_ChnInfo*, char*>, IgnoreCallback<int, _ST_ChnInfo*, char*>);

    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUTBOX);
    if (!strAboutMenu.IsEmpty()) {
        CMenu* pSysMenu = GetSystemMenu(FALSE);
        if (pSysMenu) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // Every file of the program lies in its folder: a path that may have been cut would put them in
    // some other one, so the folder stays empty, nothing of the program's is read or written, and the
    // operator learns why. The buffer is larger than any path taken: Wine cuts a path of double-byte
    // characters a byte short of a full buffer, terminated and without an error, and such a cut still
    // reads as too long here.
    char module[2 * MAX_PATH];
    ::SetLastError(ERROR_SUCCESS);
    const DWORD moduleLength = ::GetModuleFileNameA(nullptr, module, sizeof module);
    if (!ProgramFolderOf(module, moduleLength, ::GetLastError() == ERROR_INSUFFICIENT_BUFFER, g_App.szAppDir))
        AfxMessageBox(kProgramPathTooLong, MB_OK);
    UseDefaultNumberPushDirs();

    m_staticSignal.SetDefaults();
    m_staticSignal.ShowWindow(SW_HIDE);

    g_SystemInfo.Start();
    g_IPServer.Start();

    // The device table's lock comes with the process-wide table: it exists before the SDK can call
    // back and is gone only after QLC_ReleaseSDK (destructor), when no callback can take it any more.
    QLC_InitSDK(9200, 0);
    QLC_SetLanguage(2);

    m_listDevices.ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
    m_listDevices.SetExtendedStyle(m_listDevices.GetExtendedStyle() | LVS_EX_GRIDLINES |
                                   LVS_EX_FULLROWSELECT);
    m_listDevices.InsertColumn(0, "序号", LVCFMT_LEFT, 40);
    m_listDevices.InsertColumn(1, "Orvanet", LVCFMT_LEFT, 80);
    m_listDevices.InsertColumn(2, "IP地址", LVCFMT_CENTER, 85);
    m_listDevices.InsertColumn(3, "端口", LVCFMT_CENTER, 45);
    m_listDevices.InsertColumn(4, "在线时间(秒)", LVCFMT_CENTER, 85);

    GetDlgItem(IDC_STATIC_WIFI_STATE)->ShowWindow(SW_HIDE);
    g_nSearchTimer = 0;
    m_bServiceRunning = 0;
    g_App.nPreviewPlayer = -1;

    SetDlgItemText(IDC_EDIT_USER, "admin");
    SetDlgItemText(IDC_EDIT_PASSWORD, "");
    OnCredentialsChanged(); // the callbacks' copy starts from these texts
    GetDlgItem(IDC_EDIT_CFG_PATH)->EnableWindow(FALSE);
    GetDlgItem(IDC_BTN_BROWSE_CFG)->EnableWindow(FALSE);

    g_DeviceTable.Reset();
    memset(g_szRememberedIp, 0, sizeof g_szRememberedIp);

    if (QLSP_InitSDK() == 0) {
        AfxMessageBox(kSdkInitFailed, MB_OK);
        return TRUE;
    }
    QLSP_SetCallBack(IgnorePreviewEvent, nullptr, 0, 0);
    QLSP_SetDefaultFrameControlMode(16);
    g_App.nPreviewPlayer = QLSP_CreatePlayer();
    if (g_App.nPreviewPlayer == -1) AfxMessageBox(kCreatePlayerFailed, MB_OK);

    CRect rcVideo;
    m_staticVideo.GetWindowRect(&rcVideo);
    ScreenToClient(&rcVideo);
    Player_Init(m_staticVideo.GetSafeHwnd());
    m_player.DividWindow(SPLIT_4);

    m_pDlgDraw = new CDlgDraw();
    m_pDlgDraw->SetPlayer(&m_player);
    m_pDlgDraw->Create(IDD_DRAW, this);
    m_pDlgDraw->MoveWindow(0, 0, rcVideo.right, rcVideo.bottom);
    m_pDlgDraw->ShowWindow(SW_SHOW);

    ReadSettingsFile();

    m_brushYellow.CreateSolidBrush(RGB(255, 255, 0));
    m_brushGreen.CreateSolidBrush(RGB(0, 255, 0));
    m_brushRed.CreateSolidBrush(RGB(255, 0, 0));

    m_comboWifi.ResetContent();
    m_comboWifi.ResetItems();
    m_comboWifi.SetBitmap(IDB_STRIP_MAIN, 25, 20);
    m_comboWifi.SetDroppedWidth(200);
    m_comboWifi.SetItemHeight(-1, 20);

    m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_ACCEL_MAIN));

    m_pAnchor = new LayoutAnchor();
    m_pAnchor->Init(MainLayoutTable(), kMainLayoutCount, GetSafeHwnd());

    GetDlgItem(IDC_BTN_START)->ShowWindow(SW_HIDE);
    StartStopService();
    return TRUE;
}

void CLENSBENCHDlg::ShutDown(bool fromClose) {
    m_bShutDownDone = true;
    // First of all: callbacks still in flight on the libraries' threads find no window from here on.
    g_App.pMainDlg = nullptr;

    if (m_bServiceRunning) StartStopService();
    g_IPServer.Stop();
    g_SystemInfo.Stop();
    for (int i = 1; i <= PLAYER_WINDOW_COUNT; ++i)
        QLC_DisConnect(i);
    QLC_EnableLANTool(0, 0, 0, OnNumberPush);
    CloseResultWriter();
    if (g_nSearchTimer != 0) {
        KillTimer(g_nSearchTimer);
        g_nSearchTimer = 0;
    }
    // The buffers themselves stay until the SDK is released (destructor): the SDK may still hold them.
    m_config.Clear();
    for (int& h : m_hPlayers) {
        if (h != -1) {
            QLSP_ReleasePlayer(h);
            h = -1;
        }
    }
    // The preview player of the initialisation goes with the others; a late 0x465 finds none.
    if (g_App.nPreviewPlayer != -1) {
        QLSP_ReleasePlayer(g_App.nPreviewPlayer);
        g_App.nPreviewPlayer = -1;
    }
    QLSP_ReleaseSDK();
    QLC_StopLANSerchServer();
    QLC_StopBroadcastServer();

    if (fromClose)
        CDialog::OnClose();
    else
        CDialog::OnDestroy();

    DeleteTrayIcon();
    m_brushYellow.DeleteObject();
    m_brushGreen.DeleteObject();
    m_brushRed.DeleteObject();
    delete m_pAnchor;
    m_pAnchor = nullptr;
}

namespace {

struct NestedDialogs {
    HWND main;
    int found;
};

BOOL CALLBACK EndNestedDialog(HWND hwnd, LPARAM param) {
    NestedDialogs* nested = reinterpret_cast<NestedDialogs*>(param);
    char cls[16] = "";
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (hwnd == nested->main || !::IsWindowVisible(hwnd) || std::strcmp(cls, "#32770") != 0) return TRUE;
    ++nested->found;
    // As the box's own cancel: a wait box counts it as no answer, a message box as read.
    ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

// A box that ignores its cancel does not hold the close up for long.
const int kMaxCloseRetries = 20;

} // namespace

bool CLENSBENCHDlg::EndNestedDialogs() {
    // The window is modal for the program's whole life: every other dialog of its thread (a wait box,
    // a message box, the full-screen view, a plug-in's dialog) runs its modal loop inside this one's.
    NestedDialogs nested = {m_hWnd, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), EndNestedDialog, reinterpret_cast<LPARAM>(&nested));
    return nested.found != 0;
}

void CLENSBENCHDlg::OnClose() {
    if (m_bShutDownDone) {
        CDialog::OnClose();
        return;
    }
    ShowWindow(SW_HIDE);
    // Shut down only once the loops running inside this one have ended and their handlers returned:
    // else the process lives on until someone ends them, and what follows them runs after the release.
    if (EndNestedDialogs() && m_nCloseRetries++ < kMaxCloseRetries) {
        PostMessage(WM_CLOSE);
        return;
    }
    ShutDown(true);
}

void CLENSBENCHDlg::OnDestroy() {
    FreePendingPackets();
    if (m_bShutDownDone) {
        CDialog::OnDestroy();
        return;
    }
    ShutDown(false);
}

void CLENSBENCHDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CLENSBENCHDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CLENSBENCHDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

BOOL CLENSBENCHDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_hAccel && ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg)) return TRUE;
    if (pMsg->message == WM_MOUSEMOVE) {
        CWnd* pDeadPix = GetDlgItem(IDC_BTN_DEADPIX);
        if (pDeadPix && pMsg->hwnd == pDeadPix->GetSafeHwnd()) {
            SetDlgItemText(IDC_EDIT_CORRECT_STATUS, kDeadPixHint);
            // The pause is kept as operators know it: no camera's answer waits for this thread now.
            ::Sleep(100);
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CLENSBENCHDlg::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case TIMER_SEARCH:
        OnSearchTick();
        break;
    case TIMER_LIST:
        OnListTick();
        break;
    case TIMER_STATUS:
        EvaluateStatus();
        break;
    case TIMER_VERSION:
        if (!OnVersionPoll()) return;
        break;
    default:
        break; // among them the id 0 that the service posts after each start or stop
    }
    CDialog::OnTimer(nIDEvent);
}

void CLENSBENCHDlg::OnNoEffect() {}

void CLENSBENCHDlg::OnCancelMode() {
    CDialog::OnCancelMode();
}
void CLENSBENCHDlg::OnMouseMove(UINT nFlags, CPoint point) {
    CDialog::OnMouseMove(nFlags, point);
}
void CLENSBENCHDlg::OnMouseLeave() {
    CDialog::OnMouseLeave();
}
BOOL CLENSBENCHDlg::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    return CDialog::OnMouseWheel(nFlags, zDelta, pt);
}
void CLENSBENCHDlg::OnRButtonUp(UINT nFlags, CPoint point) {
    CDialog::OnRButtonUp(nFlags, point);
}

BOOL CLENSBENCHDlg::OnHelpInfo(HELPINFO*) {
    return TRUE;
}

HBRUSH CLENSBENCHDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int verdict;
    switch (pWnd ? pWnd->GetDlgCtrlID() : 0) {
    case IDC_STATUS_PRODUCT:
        verdict = m_nStatus[STATUS_PRODUCT_TYPE];
        break;
    case IDC_STATUS_VERSION:
        verdict = m_nStatus[STATUS_VERSION];
        break;
    case IDC_STATUS_GROUP:
        verdict = m_nStatus[STATUS_GROUP];
        break;
    case IDC_STATUS_WIFI_QUALITY:
        verdict = m_nStatus[STATUS_WIFI_QUALITY];
        break;
    case IDC_STATUS_ADC:
        verdict = m_nStatus[STATUS_ADC];
        break;
    default:
        return hbr;
    }
    // Without brushes (the preview SDK failed, or after shut-down) the default colours stay.
    const CBrush& brush = verdict == VERDICT_FAIL      ? m_brushRed
                          : verdict == VERDICT_UNKNOWN ? m_brushYellow
                                                       : m_brushGreen;
    HBRUSH status = static_cast<HBRUSH>(brush.GetSafeHandle());
    return status ? status : hbr;
}

void CLENSBENCHDlg::AddTrayIcon() {
    char tip[64];
    _snprintf(tip, sizeof tip - 1, "%s%s", kTrayTipAdd, kVersionSuffix);
    tip[sizeof tip - 1] = '\0';
    NOTIFYICONDATAA nid;
    CTrayIcon::Fill(nid, m_hWnd, kTrayIconId, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_TRAY_NOTIFY,
                    AfxGetApp()->LoadIcon(IDI_APP), tip);
    ::Shell_NotifyIconA(NIM_ADD, &nid);
}

void CLENSBENCHDlg::DeleteTrayIcon() {
    char tip[64];
    _snprintf(tip, sizeof tip - 1, "%s%s", kTrayTipDelete, kVersionSuffix);
    tip[sizeof tip - 1] = '\0';
    NOTIFYICONDATAA nid;
    CTrayIcon::Fill(nid, m_hWnd, kTrayIconId, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_TRAY_NOTIFY,
                    AfxGetApp()->LoadIcon(IDI_APP), tip);
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
}

LRESULT CLENSBENCHDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    AddTrayIcon();
    ShowWindow(SW_HIDE);
    return 0;
}

LRESULT CLENSBENCHDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != kTrayIconId) return 1;
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDBLCLK:
        DeleteTrayIcon();
        ShowWindow(SW_SHOWNORMAL);
        SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        break;
    case WM_RBUTTONUP: {
        POINT pt;
        ::GetCursorPos(&pt);
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, kTrayMenuExit, kTrayExit);
        // A notification icon's menu closes on a click elsewhere only when its owner is the foreground
        // window while it is shown; the message posted after it keeps the next one from closing at once.
        SetForegroundWindow();
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
        PostMessage(WM_NULL, 0, 0);
        menu.DestroyMenu();
        break;
    }
    default:
        break;
    }
    return 0;
}

// ---- Video windows and anchoring ----

void CLENSBENCHDlg::FitDrawWindow() {
    if (!m_pDlgDraw || !::IsWindow(m_pDlgDraw->GetSafeHwnd())) return;
    CRect r;
    m_staticVideo.GetWindowRect(&r);
    ScreenToClient(&r);
    m_pDlgDraw->MoveWindow(0, 0, r.right, r.bottom, FALSE);
    m_pDlgDraw->SetPlayer(&m_player);
    RECT display = {0, 0, r.right, r.bottom};
    m_player.SetDisplayRect(m_pDlgDraw->GetSafeHwnd(), &display);
}

void CLENSBENCHDlg::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    if (!m_pAnchor) return;
    m_pAnchor->OnSize(nType, cx, cy);
    FitDrawWindow();
}

void CLENSBENCHDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    if (m_pAnchor) m_pAnchor->OnGetMinMaxInfo(lpMMI);
    CDialog::OnGetMinMaxInfo(lpMMI);
}

void CLENSBENCHDlg::OnMove(int x, int y) {
    CDialog::OnMove(x, y);
    m_player.WindowMoved();
}

void CLENSBENCHDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
    POINT pt = point;
    m_player.MouseEvent(MOUSE_LBUTTONDBLCLK, pt);
    CDialog::OnLButtonDblClk(nFlags, point);
}

LRESULT CLENSBENCHDlg::OnPlacePreview(WPARAM, LPARAM) {
    if (g_App.nPreviewPlayer == -1) return 0; // never made, or released at shut-down
    CRect r;
    m_staticVideo.GetWindowRect(&r);
    RECT preview = {r.left + 1, r.top + 7, r.right - 2, r.bottom - 2};
    QLSP_SetVideoPreview(g_App.nPreviewPlayer, m_hWnd, &preview, 1);
    return 0;
}

LRESULT CLENSBENCHDlg::OnLeaveFullScreen(WPARAM, LPARAM) {
    FitDrawWindow();
    return 1;
}

void CLENSBENCHDlg::OnFullScreen() {
    CDlgFullScreen dlg;
    dlg.SetPlayer(&m_player);
    dlg.DoModal();
}
