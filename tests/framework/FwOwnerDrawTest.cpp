// Owner-draw messages reflected to the control object, and the ones that arrive before it exists.
#include <gtest/gtest.h>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

namespace {
class CPowerCombo : public CComboBox {
public:
    std::vector<UINT> drawn;    // itemID of each DrawItem
    std::vector<UINT> measured; // itemID of each MeasureItem
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
        drawn.push_back(lpDIS->itemID);
        CDC dc;
        dc.Attach(lpDIS->hDC);
        dc.FillSolidRect(&lpDIS->rcItem, RGB(0, 128, 0));
        dc.Detach();
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
        measured.push_back(lpMIS->itemID);
        lpMIS->itemHeight = 30;
    }
};

class COwnerDrawDlg : public CDialog {
public:
    COwnerDrawDlg() : CDialog(IDD_OWNERDRAW) {}
    CPowerCombo m_combo;
    std::vector<UINT> parentMeasured; // CtlID of each WM_MEASUREITEM no control object took
    bool comboBoundAtParentMeasure = false;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_POWER, m_combo); }
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS) {
        parentMeasured.push_back((UINT)nIDCtl);
        comboBoundAtParentMeasure |= m_combo.m_hWnd != nullptr;
        lpMIS->itemHeight = 22;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(COwnerDrawDlg, CDialog)
ON_WM_MEASUREITEM()
END_MESSAGE_MAP()
// clang-format on
} // namespace

TEST(FrameworkOwnerDraw, MeasureBeforeBindingReachesTheParentThenItemsReachTheCombo) {
    COwnerDrawDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_OWNERDRAW));
    ASSERT_FALSE(dlg.parentMeasured.empty()) << "WM_MEASUREITEM during creation was lost";
    EXPECT_EQ((UINT)IDC_POWER, dlg.parentMeasured[0]);
    EXPECT_FALSE(dlg.comboBoundAtParentMeasure);

    // Items added once the combo is bound are measured by the combo's own class.
    size_t parentCount = dlg.parentMeasured.size();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i, dlg.m_combo.AddString((LPCSTR)(INT_PTR)(100 + i)));
    EXPECT_EQ((std::vector<UINT>{0, 1, 2}), dlg.m_combo.measured);
    EXPECT_EQ(parentCount, dlg.parentMeasured.size());
    EXPECT_EQ(30, dlg.m_combo.GetItemHeight(1));
    EXPECT_EQ(101u, dlg.m_combo.GetItemData(1)) << "without CBS_HASSTRINGS the item is its data";
}

TEST(FrameworkOwnerDraw, DrawItemIsReflectedToTheComboClass) {
    COwnerDrawDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_OWNERDRAW));
    dlg.m_combo.AddString((LPCSTR)7);
    dlg.m_combo.SetCurSel(0);
    dlg.ShowWindow(SW_SHOWNA);
    dlg.m_combo.Invalidate();
    dlg.m_combo.UpdateWindow();
    PumpUntil([&] { return !dlg.m_combo.drawn.empty(); }, 2000);
    ASSERT_FALSE(dlg.m_combo.drawn.empty()) << "the combo's DrawItem was not called";
    EXPECT_EQ(0u, dlg.m_combo.drawn.back());

    // A draw message for a control no object owns, or for an id that does not exist, is harmless.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = 999;
    dis.hwndItem = dlg.m_hWnd;
    dis.hDC = ::GetDC(dlg);
    dlg.SendMessage(WM_DRAWITEM, 999, (LPARAM)&dis);
    ::ReleaseDC(dlg, dis.hDC);
    MEASUREITEMSTRUCT mis = {ODT_COMBOBOX, 999, 0, 0, 5, 0};
    EXPECT_EQ(TRUE, dlg.SendMessage(WM_MEASUREITEM, 999, (LPARAM)&mis));
    EXPECT_EQ(22u, mis.itemHeight);
}
