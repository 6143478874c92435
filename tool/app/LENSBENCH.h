// The application object of LENSKIT and its about box.
#pragma once

#include "Afx.h"

class CLENSBENCHApp : public CWinApp {
public:
    CLENSBENCHApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CLENSBENCHApp theApp;

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    DECLARE_MESSAGE_MAP()
};

// The text of the box that a second copy of the program shows before it ends.
extern const char kAlreadyRunningText[];
