// Which widgets answer with a class record of their own, and that each record chains to its base.
#include "MyButton.h"
#include "PopUpDlg.h"
#include "PowerComboBox.h"
#include "StaticEx.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WidgetClass, RecordsOfTheMainProgramsWidgets) {
    CMyButton button;
    CPopUpDlg box;
    CPowerComboBox combo;
    CStaticEx bar;
    struct Case {
        const CObject* object;
        const char* name;          // the record the object answers with
        const CRuntimeClass* base; // and the record it chains to
    };
    const Case cases[] = {
        {&button, "CMyButton", RUNTIME_CLASS(CButton)},
        {&box, "CPopUpDlg", RUNTIME_CLASS(CDialog)},
        // These two register nothing of their own: they answer as their framework base.
        {&combo, "CComboBox", RUNTIME_CLASS(CWnd)},
        {&bar, "CStatic", RUNTIME_CLASS(CWnd)},
    };
    for (const Case& c : cases) {
        const CRuntimeClass* rc = c.object->GetRuntimeClass();
        ASSERT_NE(rc, nullptr) << c.name;
        EXPECT_EQ(std::string(rc->m_lpszClassName), c.name);
        EXPECT_EQ(rc->m_pBaseClass, c.base) << c.name << " chains to "
                                            << (rc->m_pBaseClass ? rc->m_pBaseClass->m_lpszClassName : "nothing");
    }
}

} // namespace
