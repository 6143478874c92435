// CFileDialog: the common open / save-as dialog. The filter uses '|' between fields.
#pragma once

#include "AfxString.h"
#include "AfxWnd.h"

#include <commdlg.h>

class CFileDialog {
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    OPENFILENAMEA m_ofn{};

    virtual INT_PTR DoModal(); // IDOK or IDCANCEL
    CString GetPathName() const { return CString(m_szFile); }
    CString GetFileName() const;
    CString GetFileExt() const;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    CString m_strDefExt, m_strFilter;
    char m_szFile[MAX_PATH * 2] = {};
    char m_szFileTitle[MAX_PATH] = {};
};
