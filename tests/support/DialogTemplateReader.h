// Reads an extended dialog template (DLGTEMPLATEEX) from this module's resources, so that a test can
// compare a template with what the dialog must look like.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

struct TemplateItem {
    DWORD style = 0, exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    WORD classAtom = 0; // 0x80 button ... 0x85 combo box; 0 when named
    std::wstring className;
    WORD textOrdinal = 0; // a resource id given as the text (icon statics)
    std::wstring text;
};

struct DialogTemplate {
    bool ok = false;
    std::string error; // why it could not be read
    DWORD style = 0, exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    int pointSize = 0;
    std::wstring face;
    std::vector<TemplateItem> items;
};

namespace dlgtemplate_detail {

class Cursor {
public:
    Cursor(const BYTE* p, DWORD size) : m_begin(p), m_p(p), m_end(p + size) {}
    bool Ok() const { return m_ok; }
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    std::wstring String() {
        std::wstring s;
        for (WORD c = Word(); m_ok && c; c = Word())
            s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    // sz_Or_Ord: nothing, 0xFFFF and an ordinal, or a string.
    void StringOrOrdinal(WORD* ordinal, std::wstring* text) {
        const WORD first = Word();
        if (first == 0xFFFF) {
            *ordinal = Word();
        } else if (first != 0) {
            m_p -= sizeof(WORD);
            *text = String();
        }
    }
    void AlignDword() {
        while (m_ok && ((m_p - m_begin) & 3))
            Take<BYTE>();
    }
    void Skip(size_t n) {
        if (static_cast<size_t>(m_end - m_p) < n)
            m_ok = false;
        else
            m_p += n;
    }

private:
    template <class T> T Take() {
        T v{};
        if (m_end - m_p < static_cast<ptrdiff_t>(sizeof(T))) {
            m_ok = false;
            return v;
        }
        memcpy(&v, m_p, sizeof(T));
        m_p += sizeof(T);
        return v;
    }
    const BYTE* m_begin;
    const BYTE* m_p;
    const BYTE* m_end;
    bool m_ok = true;
};

} // namespace dlgtemplate_detail

inline DialogTemplate ReadDialogTemplate(int id) {
    DialogTemplate t;
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
    const BYTE* p = info ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, info))) : nullptr;
    if (!p) {
        t.error = "dialog " + std::to_string(id) + " is not among the resources";
        return t;
    }
    dlgtemplate_detail::Cursor c(p, SizeofResource(nullptr, info));
    if (c.Word() != 1 || c.Word() != 0xFFFF) {
        t.error = "dialog " + std::to_string(id) + " is not an extended template";
        return t;
    }
    c.Dword(); // help id
    t.exStyle = c.Dword();
    t.style = c.Dword();
    const WORD count = c.Word();
    t.x = c.Short();
    t.y = c.Short();
    t.cx = c.Short();
    t.cy = c.Short();
    WORD ordinal = 0;
    std::wstring ignored;
    c.StringOrOrdinal(&ordinal, &ignored); // menu
    c.StringOrOrdinal(&ordinal, &ignored); // window class
    t.caption = c.String();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = c.Word();
        c.Word(); // weight
        c.Word(); // italic, character set
        t.face = c.String();
    }
    for (WORD i = 0; i < count && c.Ok(); ++i) {
        TemplateItem it;
        c.AlignDword();
        c.Dword(); // help id
        it.exStyle = c.Dword();
        it.style = c.Dword();
        it.x = c.Short();
        it.y = c.Short();
        it.cx = c.Short();
        it.cy = c.Short();
        it.id = static_cast<int>(c.Dword());
        c.StringOrOrdinal(&it.classAtom, &it.className);
        c.StringOrOrdinal(&it.textOrdinal, &it.text);
        c.Skip(c.Word()); // creation data
        t.items.push_back(it);
    }
    t.ok = c.Ok();
    if (!t.ok)
        t.error = "dialog " + std::to_string(id) + " ends before its " + std::to_string(count) + " controls";
    return t;
}

// Resource texts are UTF-16; the program compares and shows them in GBK.
inline std::string Gbk(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(936, 0, w.c_str(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(936, 0, w.c_str(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

// One line per control, for comparing a template's controls as a whole: "id class x,y cx x cy "text"
// [hidden]", the text in GBK like the program's own texts.
inline std::string DescribeControl(const TemplateItem& c) {
    const char* kind = c.classAtom == 0x80 ? "button" : c.classAtom == 0x82 ? "static" : "other";
    return std::to_string(c.id) + " " + kind + " " + std::to_string(c.x) + "," + std::to_string(c.y) + " " +
           std::to_string(c.cx) + "x" + std::to_string(c.cy) + " \"" + Gbk(c.text) + "\"" +
           ((c.style & WS_VISIBLE) ? "" : " hidden");
}
