// CPopUpDlg: the modal wait box shown while a request to a camera is under way. It shows its text
// with a growing row of dots and ends either through EndPopUp (the owner's reply handling, with the
// reply's code) or by itself with POPUP_TIMEOUT once the timeout has passed.
//
// Two builds, chosen per target: LENSKIT's (template 138; Enter ends with 1, Esc and the close box
// with 2) and Netquill's, with LK_BUILD_NETQUILL defined (template 1001; ends only through EndPopUp
// or the timeout).
#pragma once

#include "framework/Afx.h"

#include "WidgetRes.h"

constexpr int POPUP_TIMEOUT = 19; // end code of a box that timed out

class CPopUpDlg : public CDialog {
#ifndef LK_BUILD_NETQUILL
    DECLARE_DYNAMIC(CPopUpDlg)
#endif
public:
#ifdef LK_BUILD_NETQUILL
    enum {IDD = IDD_WAITBOX_NETQUILL, IDC_TEXT = IDC_WAITBOX_TEXT_NETQUILL};
#else
    enum { IDD = IDD_WAITBOX_MAIN, IDC_TEXT = IDC_WAITBOX_TEXT_MAIN };
#endif
    static constexpr int BASE_TEXT_SIZE = 32;

    explicit CPopUpDlg(CWnd* pParent = nullptr);
    ~CPopUpDlg() override = default;

    // The text without dots, also the caption; cut to 31 bytes on a whole GBK character.
    void SetText(const CString& text);
    // The box ends with POPUP_TIMEOUT on the (2 * seconds + 2)-th tick of 500 ms.
    void SetTimeout(int seconds);
    // Ends the open box; DoModal returns code. Does nothing when the box is not open or has already
    // been ended (a late reply after a timeout changes nothing).
    void EndPopUp(int code);

    const char* GetBaseText() const {
        return m_szBaseText;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
#ifdef LK_BUILD_NETQUILL
    // Enter, Esc and the close box do nothing: only the camera's answer or the timeout ends the box.
    void OnOK() override {}
    void OnCancel() override {}
#endif

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    UINT_PTR TimerId() const {
        return m_nTimerId;
    }

private:
    void End(int code);

    CString m_strText;       // shown in the text control
    UINT_PTR m_nTimerId = 0; // as SetTimer returned it
    int m_nDots = 0;         // dots on the shown text, 0..3
    int m_nTicks = 0;        // ticks since the box opened
    int m_nTickLimit = 0;    // twice the timeout in seconds
    char m_szBaseText[BASE_TEXT_SIZE] = {};
    bool m_bOpen = false; // opened and not yet ended
};
