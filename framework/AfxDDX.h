// Data exchange: DDX_ moves values between controls and members, DDV_ checks them. A failed check
// shows its message under the field's label (the static control just before the field), puts the
// focus on the field and stops the exchange: UpdateData returns FALSE.
#pragma once

#include "AfxString.h"
#include "AfxWnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // The control nIDC of the dialog; a missing control fails the exchange.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Focus (and selection) to the last prepared control, then abandon the exchange.
    [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl); // binds once; later calls do nothing
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value); // decimal; non-numbers fail
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value); // BST_UNCHECKED/CHECKED/INDETERMINATE
// nIDC is the first radio button of a group; value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Loading also limits the edit control to nChars bytes, as the check counts them: what the operator
// types or pastes beyond that is cut off on a whole character (a Chinese character is two bytes).
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
// The check of DDV_MaxChars on the text of field nIDC outside an exchange (a limit that only one
// command has): the same box and focus when it fails. FALSE when the text is too long.
BOOL AfxCheckMaxChars(CWnd* pDlgWnd, int nIDC, const CString& value, int nChars);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
