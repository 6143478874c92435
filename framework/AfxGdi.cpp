#include "AfxGdi.h"

#include "AfxApp.h"
#include "AfxImpl.h"

namespace {
AfxTempMap<CDC, HDC> g_tempDCs;
AfxTempMap<CGdiObject, HGDIOBJ> g_tempObjects;
AfxTempMap<CBitmap, HGDIOBJ> g_tempBitmaps;
AfxTempMap<CBrush, HGDIOBJ> g_tempBrushes;
AfxTempMap<CFont, HGDIOBJ> g_tempFonts;
AfxTempMap<CPen, HGDIOBJ> g_tempPens;
} // namespace

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return LoadBitmap(MAKEINTRESOURCEA(nIDResource));
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CBitmap* CBitmap::FromHandle(HBITMAP h) {
    return g_tempBitmaps.Get(h);
}
CBrush* CBrush::FromHandle(HBRUSH h) {
    return g_tempBrushes.Get(h);
}
CFont* CFont::FromHandle(HFONT h) {
    return g_tempFonts.Get(h);
}

CDC* CDC::FromHandle(HDC hDC) {
    return g_tempDCs.Get(hDC);
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return g_tempObjects.Get(::SelectObject(m_hDC, pObject->m_hObject));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return g_tempBitmaps.Get(::SelectObject(m_hDC, pBitmap->m_hObject));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    return g_tempBrushes.Get(::SelectObject(m_hDC, pBrush->m_hObject));
}
CFont* CDC::SelectObject(CFont* pFont) {
    return g_tempFonts.Get(::SelectObject(m_hDC, pFont->m_hObject));
}
CPen* CDC::SelectObject(CPen* pPen) {
    return g_tempPens.Get(::SelectObject(m_hDC, pPen->m_hObject));
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    return g_tempObjects.Get(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, Detach());
}
