// Foundation of the window framework: Win32 headers, the object root and its class-name record.
#pragma once

#include <windows.h>
#include <commctrl.h>

#ifndef afx_msg
#define afx_msg // marks message-map handlers; expands to nothing
#endif

class CWnd;
class CDC;
class CMenu;
class CFont;
class CDataExchange;

// Only the class name is recorded: nothing asks for more than "which class is this".
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    static const CRuntimeClass classCObject;
};

#define DECLARE_DYNAMIC(theClass)                                                                            \
public:                                                                                                      \
    static const CRuntimeClass class##theClass;                                                              \
    const CRuntimeClass* GetRuntimeClass() const override {                                                  \
        return &class##theClass;                                                                             \
    }

#define IMPLEMENT_DYNAMIC(theClass, baseClass)                                                               \
    const CRuntimeClass theClass::class##theClass = {#theClass, &baseClass::class##baseClass};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)
