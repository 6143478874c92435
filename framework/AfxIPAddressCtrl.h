// CIPAddressCtrl: the four-field IP address control. Addresses are in host byte order
// (field 0 is the high byte).
#pragma once

#include "AfxWnd.h"

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)

public:
    void SetAddress(DWORD dwAddress) { SendMessage(IPM_SETADDRESS, 0, (LPARAM)dwAddress); }
    void SetAddress(BYTE b0, BYTE b1, BYTE b2, BYTE b3) { SetAddress(MAKEIPADDRESS(b0, b1, b2, b3)); }
    // Returns the number of non-blank fields; a blank control gives 0.
    int GetAddress(DWORD& dwAddress) const {
        dwAddress = 0;
        return (int)SendMessage(IPM_GETADDRESS, 0, (LPARAM)&dwAddress);
    }
    int GetAddress(BYTE& b0, BYTE& b1, BYTE& b2, BYTE& b3) const {
        DWORD a = 0;
        int n = GetAddress(a);
        b0 = (BYTE)FIRST_IPADDRESS(a);
        b1 = (BYTE)SECOND_IPADDRESS(a);
        b2 = (BYTE)THIRD_IPADDRESS(a);
        b3 = (BYTE)FOURTH_IPADDRESS(a);
        return n;
    }
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    BOOL IsBlank() const { return (BOOL)SendMessage(IPM_ISBLANK); }
    void SetFieldFocus(WORD nField) { SendMessage(IPM_SETFOCUS, nField); }
    void SetFieldRange(int nField, BYTE nLower, BYTE nUpper) {
        SendMessage(IPM_SETRANGE, (WPARAM)nField, MAKEIPRANGE(nLower, nUpper));
    }
};
