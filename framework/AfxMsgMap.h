// Ordered message maps. BEGIN_MESSAGE_MAP(theClass, baseClass) ... END_MESSAGE_MAP() builds a table;
// dispatch checks the class's entries in source order, then its base class's table, and the first
// matching entry wins. Each ON_ macro names the handler signature it expects.
#pragma once

#include "AfxBase.h"

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// How a table entry's handler is called.
enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_v_v,        // void ()
    AfxSig_v_timer,    // void (UINT_PTR)
    AfxSig_v_size,     // void (UINT, int, int)
    AfxSig_v_move,     // void (int, int)
    AfxSig_v_syscmd,   // void (UINT, LPARAM)
    AfxSig_hcur_v,     // HCURSOR ()
    AfxSig_ctlcolor,   // HBRUSH (CDC*, CWnd*, UINT)   matches every WM_CTLCOLOR* message
    AfxSig_v_minmax,   // void (MINMAXINFO*)
    AfxSig_b_help,     // BOOL (HELPINFO*)
    AfxSig_v_mouse,    // void (UINT, CPoint)
    AfxSig_b_wheel,    // BOOL (UINT, short, CPoint)
    AfxSig_b_erase,    // BOOL (CDC*)
    AfxSig_v_measure,  // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_v_draw,     // void (int, LPDRAWITEMSTRUCT)
    AfxSig_notify,     // void (NMHDR*, LRESULT*)
    AfxSig_lwl,        // LRESULT (WPARAM, LPARAM)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;              // window message, WM_COMMAND or WM_NOTIFY
    UINT nCode;                 // notification code for WM_COMMAND / WM_NOTIFY
    UINT nID;                   // control or command id for WM_COMMAND / WM_NOTIFY
    const UINT* pnRegMessage;   // registered message: read at dispatch time, set during start-up
    UINT nSig;                  // AfxSig
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                \
protected:                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
        typedef theClass ThisClass;                                                      \
        typedef baseClass TheBaseClass;                                                  \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                \
            {0, 0, 0, nullptr, AfxSig_end, nullptr}};                                   \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
        return &messageMap;                                                              \
    }

// One table row: the handler is first converted to the exact expected member type, so a handler
// with the wrong signature does not compile.
#define AFX_MSG_ROW(msg, code, id, reg, sig, type, memberFn) \
    {(UINT)(msg), (UINT)(code), (UINT)(id), reg, sig,         \
     reinterpret_cast<AFX_PMSG>(static_cast<type>(&ThisClass::memberFn))},

// void OnPaint()
#define ON_WM_PAINT() AFX_MSG_ROW(WM_PAINT, 0, 0, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), OnPaint)
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() AFX_MSG_ROW(WM_TIMER, 0, 0, nullptr, AfxSig_v_timer, void (CWnd::*)(UINT_PTR), OnTimer)
// void OnDestroy()
#define ON_WM_DESTROY() AFX_MSG_ROW(WM_DESTROY, 0, 0, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), OnDestroy)
// void OnClose()
#define ON_WM_CLOSE() AFX_MSG_ROW(WM_CLOSE, 0, 0, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), OnClose)
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() AFX_MSG_ROW(WM_SIZE, 0, 0, nullptr, AfxSig_v_size, void (CWnd::*)(UINT, int, int), OnSize)
// void OnMove(int x, int y)
#define ON_WM_MOVE() AFX_MSG_ROW(WM_MOVE, 0, 0, nullptr, AfxSig_v_move, void (CWnd::*)(int, int), OnMove)
// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    AFX_MSG_ROW(WM_SYSCOMMAND, 0, 0, nullptr, AfxSig_v_syscmd, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
    AFX_MSG_ROW(WM_QUERYDRAGICON, 0, 0, nullptr, AfxSig_hcur_v, HCURSOR (CWnd::*)(), OnQueryDragIcon)
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)   (all WM_CTLCOLOR* messages)
#define ON_WM_CTLCOLOR() \
    AFX_MSG_ROW(WM_CTLCOLORMSGBOX, 0, 0, nullptr, AfxSig_ctlcolor, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
// void OnGetMinMaxInfo(MINMAXINFO* lpMMI)
#define ON_WM_GETMINMAXINFO() \
    AFX_MSG_ROW(WM_GETMINMAXINFO, 0, 0, nullptr, AfxSig_v_minmax, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
#define ON_WM_HELPINFO() AFX_MSG_ROW(WM_HELP, 0, 0, nullptr, AfxSig_b_help, BOOL (CWnd::*)(HELPINFO*), OnHelpInfo)
// void OnLButtonDown(UINT nFlags, CPoint point), and the same for the other mouse messages
#define ON_WM_LBUTTONDOWN() \
    AFX_MSG_ROW(WM_LBUTTONDOWN, 0, 0, nullptr, AfxSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() \
    AFX_MSG_ROW(WM_LBUTTONUP, 0, 0, nullptr, AfxSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() \
    AFX_MSG_ROW(WM_LBUTTONDBLCLK, 0, 0, nullptr, AfxSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONUP() \
    AFX_MSG_ROW(WM_RBUTTONUP, 0, 0, nullptr, AfxSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_MOUSEMOVE() \
    AFX_MSG_ROW(WM_MOUSEMOVE, 0, 0, nullptr, AfxSig_v_mouse, void (CWnd::*)(UINT, CPoint), OnMouseMove)
// void OnMouseLeave()
#define ON_WM_MOUSELEAVE() AFX_MSG_ROW(WM_MOUSELEAVE, 0, 0, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), OnMouseLeave)
// BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
#define ON_WM_MOUSEWHEEL() \
    AFX_MSG_ROW(WM_MOUSEWHEEL, 0, 0, nullptr, AfxSig_b_wheel, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
// void OnCancelMode()
#define ON_WM_CANCELMODE() AFX_MSG_ROW(WM_CANCELMODE, 0, 0, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), OnCancelMode)
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND() \
    AFX_MSG_ROW(WM_ERASEBKGND, 0, 0, nullptr, AfxSig_b_erase, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
// void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS): items no control object claimed
#define ON_WM_MEASUREITEM() \
    AFX_MSG_ROW(WM_MEASUREITEM, 0, 0, nullptr, AfxSig_v_measure, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS): items no control object claimed
#define ON_WM_DRAWITEM() \
    AFX_MSG_ROW(WM_DRAWITEM, 0, 0, nullptr, AfxSig_v_draw, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)

// void fn(): WM_COMMAND with notification code 0 from a control, a menu or an accelerator
#define ON_COMMAND(id, memberFn) AFX_MSG_ROW(WM_COMMAND, 0, id, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), memberFn)
// void fn(): WM_COMMAND from control id with the given notification code
#define ON_CONTROL(code, id, memberFn) \
    AFX_MSG_ROW(WM_COMMAND, code, id, nullptr, AfxSig_v_v, void (CCmdTarget::*)(), memberFn)
#define ON_BN_CLICKED(id, memberFn) ON_CONTROL(BN_CLICKED, id, memberFn)
#define ON_CBN_SELCHANGE(id, memberFn) ON_CONTROL(CBN_SELCHANGE, id, memberFn)
#define ON_EN_CHANGE(id, memberFn) ON_CONTROL(EN_CHANGE, id, memberFn)
#define ON_LBN_SELCHANGE(id, memberFn) ON_CONTROL(LBN_SELCHANGE, id, memberFn)
// void fn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFn) \
    AFX_MSG_ROW(WM_NOTIFY, code, id, nullptr, AfxSig_notify, void (CCmdTarget::*)(NMHDR*, LRESULT*), memberFn)
// LRESULT fn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFn) \
    AFX_MSG_ROW(message, 0, 0, nullptr, AfxSig_lwl, LRESULT (CCmdTarget::*)(WPARAM, LPARAM), memberFn)
// LRESULT fn(WPARAM wParam, LPARAM lParam); nMessageVariable is a UINT from RegisterWindowMessage
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFn) \
    AFX_MSG_ROW(0, 0, 0, &(nMessageVariable), AfxSig_lwl, LRESULT (CCmdTarget::*)(WPARAM, LPARAM), memberFn)

class CCmdTarget : public CObject {
public:
    // The first entry matching (message, code, id) in this object's tables, or nullptr.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
