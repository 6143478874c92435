// Ordered message maps. BEGIN_MESSAGE_MAP(theClass, baseClass) ... END_MESSAGE_MAP() builds a table;
// dispatch checks the class's entries in source order, then its base class's table, and the first
// matching entry wins. Each ON_ macro names the handler signature it expects.
//
// Handlers are named as members of the class, without '&': ON_BN_CLICKED(IDC_GO, OnGo), or with a
// base class: ON_COMMAND(IDOK, CDialog::OnOK). Handlers may be private or protected.
#pragma once

#include "AfxBase.h"

class CCmdTarget;

// How a table entry matches; the call itself is the entry's thunk.
enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_msg,      // the window message nMessage
    AfxSig_ctlcolor, // every WM_CTLCOLOR* message
    AfxSig_command,  // WM_COMMAND with nCode / nID
    AfxSig_notify,   // WM_NOTIFY with nCode / nID
    AfxSig_regmsg,   // the registered message *pnRegMessage
};

// Calls the handler with the message's arguments unpacked; returns the message result.
typedef LRESULT (*AFX_THUNK)(CCmdTarget* pTarget, UINT message, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;            // window message (AfxSig_msg)
    UINT nCode;               // notification code (AfxSig_command, AfxSig_notify)
    UINT nID;                 // control or command id (AfxSig_command, AfxSig_notify)
    const UINT* pnRegMessage; // read at dispatch time: registered messages are set during start-up
    UINT nSig;                // AfxSig
    AFX_THUNK pfnThunk;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        typedef theClass ThisClass;                                                                          \
        typedef baseClass TheBaseClass;                                                                      \
        static_cast<void>(sizeof(ThisClass));                                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, nullptr, AfxSig_end, nullptr }                                                                \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries};                \
    return &messageMap;                                                                                      \
    }

// A table row whose thunk runs `call` with `self` = the object as ThisClass. The handler is first
// named as a member of the exact expected type, so a handler with another signature does not compile.
#define AFX_MSG_ROW(msg, code, id, reg, sig, type, memberFn, call)                                           \
    {(UINT)(msg),                                                                                            \
     (UINT)(code),                                                                                           \
     (UINT)(id),                                                                                             \
     reg,                                                                                                    \
     sig,                                                                                                    \
     [](CCmdTarget* pTarget, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {                        \
         static_cast<void>(static_cast<type>(&ThisClass::memberFn));                                         \
         ThisClass* self = static_cast<ThisClass*>(pTarget);                                                 \
         static_cast<void>(self), static_cast<void>(message), static_cast<void>(wParam),                     \
             static_cast<void>(lParam);                                                                      \
         call;                                                                                               \
     }},

#define AFX_WM_ROW(msg, type, memberFn, call)                                                                \
    AFX_MSG_ROW(msg, 0, 0, nullptr, AfxSig_msg, type, memberFn, call)
#define AFX_LPARAM_X ((int)(short)LOWORD(lParam))
#define AFX_LPARAM_Y ((int)(short)HIWORD(lParam))

// void OnPaint()
#define ON_WM_PAINT() AFX_WM_ROW(WM_PAINT, void (CWnd::*)(), OnPaint, self->OnPaint(); return 0)
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                                                        \
    AFX_WM_ROW(WM_TIMER, void (CWnd::*)(UINT_PTR), OnTimer, self->OnTimer((UINT_PTR)wParam); return 0)
// void OnDestroy()
#define ON_WM_DESTROY() AFX_WM_ROW(WM_DESTROY, void (CWnd::*)(), OnDestroy, self->OnDestroy(); return 0)
// void OnClose()
#define ON_WM_CLOSE() AFX_WM_ROW(WM_CLOSE, void (CWnd::*)(), OnClose, self->OnClose(); return 0)
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE()                                                                                         \
    AFX_WM_ROW(WM_SIZE, void (CWnd::*)(UINT, int, int), OnSize,                                              \
               self->OnSize((UINT)wParam, AFX_LPARAM_X, AFX_LPARAM_Y);                                       \
               return 0)
// void OnMove(int x, int y)
#define ON_WM_MOVE()                                                                                         \
    AFX_WM_ROW(WM_MOVE, void (CWnd::*)(int, int), OnMove, self->OnMove(AFX_LPARAM_X, AFX_LPARAM_Y); return 0)
// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                                                   \
    AFX_WM_ROW(WM_SYSCOMMAND, void (CWnd::*)(UINT, LPARAM), OnSysCommand,                                    \
               self->OnSysCommand((UINT)wParam, lParam);                                                     \
               return 0)
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                                                \
    AFX_WM_ROW(WM_QUERYDRAGICON, HCURSOR (CWnd::*)(), OnQueryDragIcon,                                       \
               return (LRESULT)self->OnQueryDragIcon())
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)   (every WM_CTLCOLOR* message; nCtlColor
// is CTLCOLOR_EDIT, CTLCOLOR_STATIC ...)
#define ON_WM_CTLCOLOR()                                                                                     \
    AFX_MSG_ROW(                                                                                             \
        WM_CTLCOLORMSGBOX, 0, 0, nullptr, AfxSig_ctlcolor, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor,  \
        return (LRESULT)self->OnCtlColor(CDC::FromHandle((HDC)wParam), CWnd::FromHandle((HWND)lParam),       \
                                         message - WM_CTLCOLORMSGBOX))
// void OnGetMinMaxInfo(MINMAXINFO* lpMMI)
#define ON_WM_GETMINMAXINFO()                                                                                \
    AFX_WM_ROW(WM_GETMINMAXINFO, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo,                               \
               self->OnGetMinMaxInfo((MINMAXINFO*)lParam);                                                   \
               return 0)
// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
#define ON_WM_HELPINFO()                                                                                     \
    AFX_WM_ROW(WM_HELP, BOOL (CWnd::*)(HELPINFO*), OnHelpInfo, return self->OnHelpInfo((HELPINFO*)lParam))
// void OnXxx(UINT nFlags, CPoint point) for the mouse messages below
#define AFX_MOUSE_ROW(msg, memberFn)                                                                         \
    AFX_WM_ROW(msg, void (CWnd::*)(UINT, CPoint), memberFn, self->memberFn((UINT)wParam, CPoint(lParam));    \
               return 0)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ROW(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ROW(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ROW(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ROW(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ROW(WM_MOUSEMOVE, OnMouseMove)
// void OnMouseLeave()
#define ON_WM_MOUSELEAVE()                                                                                   \
    AFX_WM_ROW(WM_MOUSELEAVE, void (CWnd::*)(), OnMouseLeave, self->OnMouseLeave(); return 0)
// BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)   (pt in screen coordinates)
#define ON_WM_MOUSEWHEEL()                                                                                   \
    AFX_WM_ROW(WM_MOUSEWHEEL, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel,                             \
               return self->OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam),        \
                                         CPoint(lParam)))
// void OnCancelMode()
#define ON_WM_CANCELMODE()                                                                                   \
    AFX_WM_ROW(WM_CANCELMODE, void (CWnd::*)(), OnCancelMode, self->OnCancelMode(); return 0)
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND()                                                                                   \
    AFX_WM_ROW(WM_ERASEBKGND, BOOL (CWnd::*)(CDC*), OnEraseBkgnd,                                            \
               return self->OnEraseBkgnd(CDC::FromHandle((HDC)wParam)))
// void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS): items that no control object claimed
#define ON_WM_MEASUREITEM()                                                                                  \
    AFX_WM_ROW(WM_MEASUREITEM, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem,                      \
               self->OnMeasureItem((int)wParam, (LPMEASUREITEMSTRUCT)lParam);                                \
               return TRUE)
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS): items that no control object claimed
#define ON_WM_DRAWITEM()                                                                                     \
    AFX_WM_ROW(WM_DRAWITEM, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem,                               \
               self->OnDrawItem((int)wParam, (LPDRAWITEMSTRUCT)lParam);                                      \
               return TRUE)

// void fn(): WM_COMMAND from control id with notification code `code`
#define ON_CONTROL(code, id, memberFn)                                                                       \
    AFX_MSG_ROW(WM_COMMAND, code, id, nullptr, AfxSig_command, void (ThisClass::*)(), memberFn,              \
                self->memberFn();                                                                            \
                return 0)
// void fn(): code 0 - a button click, a menu item or an accelerator
#define ON_COMMAND(id, memberFn) ON_CONTROL(0, id, memberFn)
#define ON_BN_CLICKED(id, memberFn) ON_CONTROL(BN_CLICKED, id, memberFn)
#define ON_CBN_SELCHANGE(id, memberFn) ON_CONTROL(CBN_SELCHANGE, id, memberFn)
#define ON_EN_CHANGE(id, memberFn) ON_CONTROL(EN_CHANGE, id, memberFn)
#define ON_LBN_SELCHANGE(id, memberFn) ON_CONTROL(LBN_SELCHANGE, id, memberFn)
// void fn(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFn)                                                                        \
    AFX_MSG_ROW(WM_NOTIFY, code, id, nullptr, AfxSig_notify, void (ThisClass::*)(NMHDR*, LRESULT*),          \
                memberFn, LRESULT r = 0;                                                                     \
                self->memberFn((NMHDR*)lParam, &r); return r)
// LRESULT fn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(msg, memberFn)                                                                            \
    AFX_MSG_ROW(msg, 0, 0, nullptr, AfxSig_msg, LRESULT (ThisClass::*)(WPARAM, LPARAM), memberFn,            \
                return self->memberFn(wParam, lParam))
// LRESULT fn(WPARAM wParam, LPARAM lParam); nMessageVariable: a UINT set by RegisterWindowMessage
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFn)                                                    \
    AFX_MSG_ROW(0, 0, 0, &(nMessageVariable), AfxSig_regmsg, LRESULT (ThisClass::*)(WPARAM, LPARAM),         \
                memberFn, return self->memberFn(wParam, lParam))

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    // The first entry matching (message, code, id) in this object's tables, or nullptr.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
