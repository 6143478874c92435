// The application object of LENSKIT and its about box.
#pragma once

#include "Afx.h"

class CLENSBENCHApp : public CWinApp {
public:
    CLENSBENCHApp();
    BOOL InitInstance() override;

protected:
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()
};

// The framework's command id of the help key.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

extern CLENSBENCHApp theApp;

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    DECLARE_MESSAGE_MAP()
};

// The text of the box that a second copy of the program shows before it ends.
extern const char kAlreadyRunningText[];
