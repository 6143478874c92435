// The main window of LENSKIT: template 102, run modally for the whole life of the program.
#pragma once

#include "Afx.h"
#include "AppGlobals.h"
#include "ConfigFile.h"
#include "Connection.h"
#include "DeviceInfo.h"
#include "DeviceListTimer.h"
#include "MyButton.h"
#include "PopUpDlg.h"
#include "PowerComboBox.h"
#include "ResultWriter.h"
#include "StaticEx.h"
#include "Tellurio.h"

class CDlgDraw;
struct CfgPacket;
class LayoutAnchor;
struct LanToolRequest;
struct LanToolGuid;

class CLENSBENCHDlg : public CDialog {
public:
    explicit CLENSBENCHDlg(CWnd* pParent = nullptr);
    ~CLENSBENCHDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The library callbacks reach the window through g_App.pMainDlg; these are their entry points.
    static void OnConnectState(void* user, _ST_ChnInfo* info, ConnectState state);
    static void OnDeviceVersion(void* user, _DEVICE_VERSION* version);

    // What tests and the other parts of the program read.
    CTellurio& Player() { return m_player; }
    CDlgDraw* DrawWindow() const { return m_pDlgDraw; }
    LayoutAnchor* Anchor() const { return m_pAnchor; }
    HACCEL Accelerators() const { return m_hAccel; }
    int Shift() const { return m_nShift; }
    int Threshold() const { return m_nThreshold; }
    const char* IniPath() const { return m_szIniPath; }
    bool ShutDownDone() const { return m_bShutDownDone; }
    int VersionWindow() const { return m_nVersionWnd; }
    const CString& WindowNumber(int window) const { return m_strWndNumber[window - 1]; }
    const CString& WindowVersion(int window) const { return m_strWndVersion[window - 1]; }

    // Received device information, ADC readings and verdicts (LENSBENCHDlgStatus.cpp), as tests read them.
    int Verdict(int index) const { return m_nStatus[index]; }
    const char* ReportedProductType() const { return m_szProductType; }
    const char* ReportedVersion() const { return m_szVersion; }
    int ReportedGroup() const { return m_nGroup; }
    int AdcH() const { return m_nAdcH; }
    int AdcL() const { return m_nAdcL; }
    int AdcR() const { return m_nAdcR; }
    int SsidQuality() const { return m_nSsidQuality; }
    int SsidFound() const { return m_nSsidFound; }
    const CPowerComboBox& WifiList() const { return m_comboWifi; }
    const CStaticEx& SignalBar() const { return m_staticSignal; }
    // The expected values the verdicts compare with; nothing in the program sets them yet.
    void SetExpectedValues(const char* productType, const char* version, const char* group, const char* ssid,
                           const char* quality);

    // Number push (LENSBENCHDlgNumberPush.cpp), entered from OnNumberPush on the device SDK's threads.
    int AnswerNumberPush(LanToolRequest& request, const char* user, const char* password);
    int32_t LookupDeviceNumber(const char* type, const char* group, int dataValue, const LanToolGuid& guid);
    // Hands the line to the result writer; the answer goes on without waiting for the file.
    void AppendResultLine(const char* type, const char* group, int number);
    // The number files' base folder (no trailing separator) and the result folder (ending with a
    // separator). Both start empty, and an empty one is not used; any thread may set them.
    void SetNumberPushDirs(const char* numberDir, const char* resultDir);
    void UseDefaultNumberPushDirs();
    // True once every result line handed over so far is in its file (tests wait for the writer).
    bool WaitResultsWritten(unsigned timeoutMs);
    // How long the shut-down waits for result lines held back by a file that someone holds; the ones
    // still waiting then are named in the day's error log.
    static constexpr unsigned kResultsCloseWaitMs = 1000;

    // Runs the pan-tilt plug-in's dialog for a received packet (the packet dispatcher calls it with the
    // receive buffer, CFG_MAIN_BUFFER_SIZE bytes).
    void ShowSwivelpaneDialog(int channel, CfgPacket* packet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Window framework handlers of the application's own (start-up, painting, about box).
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnNoEffect();
    afx_msg void OnCancelMode();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    // Video windows and anchoring.
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnPlacePreview(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLeaveFullScreen(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFullScreen();
    void FitDrawWindow();

    // LAN service and device table (LENSBENCHDlgLan.cpp).
    afx_msg void StartStopService();
    afx_msg void OnNumberPushSwitch();
    afx_msg void OnCredentialsChanged();
    void OnSearchTick();
    void AppendServiceLine(const char* text);

    // Device list (LENSBENCHDlgDeviceList.cpp).
    afx_msg LRESULT OnRefreshDeviceListMsg(WPARAM wParam, LPARAM lParam);
    void RefreshDeviceList();
    void OnListTick();

    // Connections and commands (LENSBENCHDlgConnections.cpp).
    afx_msg void OnDeviceListClick(NMHDR* pNMHDR, LRESULT* pResult);
    bool OnVersionPoll();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnVideoClicked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnConnectStateMsg(WPARAM wParam, LPARAM lParam);
    void ShowSelectedWindow();
    afx_msg void OnAudioListen();
    afx_msg void OnRemoteConfig();
    afx_msg void OnRebootDevice();
    afx_msg void OnModeBlackWhite();
    afx_msg void OnModeColour();
    afx_msg void OnModeAuto();
    afx_msg void OnCorrectDeadPixels();
    afx_msg void OnDisconnect();
    afx_msg void OnDisconnectAll();

    // Received config packets and status verdicts (LENSBENCHDlgPackets.cpp, LENSBENCHDlgStatus.cpp).
    afx_msg LRESULT OnCfgPacket(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInfoPacket(WPARAM wParam, LPARAM lParam);
    void EvaluateStatus();
    void DispatchCfgPacket(int channel, size_t arrived);
    void FreePendingPackets();
    void ParseProductInfo(const char* text);
    void ParseAdcValues(const char* text);

    // Wireless state and scan (LENSBENCHDlgWireless.cpp).
    afx_msg void OnWirelessSearch();
    afx_msg void OnWirelessSelChange();
    void ParseWirelessState(const char* text);
    void ShowWirelessState();
    void ShowListedQuality();
    void SetQualityText(int quality);

    // Focus-test settings and the camera configuration file (LENSBENCHDlgSettings.cpp).
    void ReadSettingsFile();
    afx_msg void OnLoadConfigFile();
    afx_msg void OnSetScene();
    afx_msg void OnCutTest();
    afx_msg void OnApplyShift();
    afx_msg void OnApplyThreshold();

    // Pan-tilt keys (LENSBENCHDlgPanTilt.cpp).
    afx_msg LRESULT OnMyButtonState(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPanTiltWait();
    afx_msg void OnPanTiltTest();
    afx_msg void OnPanTiltEmpty();
    // Where the pan-tilt codes go. Nothing carries them to a camera yet; a test takes them here.
    virtual void PanTiltCommand(int code);
    void PanTiltMove(int command, int speed);
    // Where a camera configuration file comes from: the open-file dialog. False when cancelled.
    virtual bool ChooseConfigFile(CString& path);

    DECLARE_MESSAGE_MAP()

    // Members in the order they are constructed; they are destroyed in the reverse order, after the
    // destructor's body has released the SDK (so m_config outlives its last send). m_player ends its
    // connections only when it is destroyed, after every member declared below it: its callbacks reach
    // the window through g_App.pMainDlg alone, which the shut-down clears first.
    CPowerComboBox m_comboWifi; // 10101
    CListBox m_listServiceLog;  // 1011
    CListCtrl m_listDevices;    // 1005
    CStaticEx m_staticSignal;   // 1033
    CString m_strExpProductType, m_strExpVersion, m_strExpGroup, m_strExpSsid;
    int m_nAdcH, m_nAdcL, m_nAdcR;
    CPopUpDlg m_popUp;
    ConfigStore m_config;   // the camera configuration file, outliving QLC_ReleaseSDK (destructor)
    ResultWriter m_results; // result lines on their way to the files, closed by the shut-down
    // Reported product type, version and group: cleared together (100 bytes) by each device text.
    char m_szProductType[32];
    char m_szVersion[64];
    int m_nGroup;
    int m_nStatus[STATUS_COUNT];
    CBrush m_brushYellow, m_brushGreen, m_brushRed;
    int m_hPlayers[PLAYER_WINDOW_COUNT];
    CTellurio m_player;
    HICON m_hIcon;
    int m_bServiceRunning;
    char m_szNumberDir[MAX_PATH];
    char m_szResultDir[MAX_PATH];
    char m_szIniPath[MAX_PATH];
    LayoutAnchor* m_pAnchor;
    CDlgDraw* m_pDlgDraw;
    int m_nSsidQuality;
    CString m_strExpQuality;
    int m_nSsidFound;
    HACCEL m_hAccel;
    CMyButton m_btnPanTilt[13];
    int m_nShift;
    int m_nThreshold;
    CEdit m_editCorrection; // 1077
    CEdit m_editNumber;     // 1061
    CStatic m_staticVideo;  // 1015
    CEdit m_editUser;       // 1006
    CEdit m_editPassword;   // 1007
    CString m_strWndNumber[PLAYER_WINDOW_COUNT];
    CString m_strWndVersion[PLAYER_WINDOW_COUNT];
    int m_nVersionWnd;
    CEdit m_editVersion; // 1087

    DeviceListTimer m_listTimer; // period of the device list's refresh timer
    VersionPoll m_versionPoll;   // the version poll's counter, running on across connections
    // Per-window audio words, cleared when audio listening is switched off.
    int m_nAudioWord[PLAYER_WINDOW_COUNT];
    bool m_bShutDownDone; // the release sequence runs once, from WM_CLOSE or WM_DESTROY
    bool m_bScanWaiting;  // a wireless search waits in the wait box
    int m_nScanWindow;    // the player's window it searched: only its camera's reply answers
    int m_nScanReply;     // access points of the reply that answered it, -1 before one came
    int m_nCloseRetries;  // closes put off until the boxes running over the window had ended
    unsigned m_nInfoCut;  // INFO_*_CUT: reported values that did not fit their fields

private:
    void ShutDown(bool fromClose);
    bool EndNestedDialogs();
    void CloseResultWriter();
    void AddTrayIcon();
    void DeleteTrayIcon();
};
