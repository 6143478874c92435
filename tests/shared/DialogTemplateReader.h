// Reads an extended dialog template (DLGTEMPLATEEX) from this module's resources, so that a test can
// compare a template with what the box must look like.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TemplateControl {
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    WORD classOrdinal = 0; // 0x80 button, 0x82 static...; 0 when the class is named
    std::wstring title;
};

struct DialogTemplate {
    bool ok = false;
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption;
    int pointSize = 0;
    std::wstring typeface;
    std::vector<TemplateControl> controls;
};

namespace dlgtemplate_detail {

class Cursor {
public:
    Cursor(const uint8_t* p, const uint8_t* end) : m_p(p), m_begin(p), m_end(end) {}
    bool Ok() const { return m_ok; }
    WORD Word() {
        WORD v = 0;
        Take(&v, sizeof v);
        return v;
    }
    DWORD Dword() {
        DWORD v = 0;
        Take(&v, sizeof v);
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    uint8_t Byte() {
        uint8_t v = 0;
        Take(&v, 1);
        return v;
    }
    std::wstring String() {
        std::wstring s;
        for (WORD c = Word(); m_ok && c != 0; c = Word()) s += static_cast<wchar_t>(c);
        return s;
    }
    // A name or an ordinal: 0 none, 0xFFFF then the ordinal, else a string.
    void NameOrOrdinal(WORD& ordinal, std::wstring& name) {
        const WORD first = Word();
        ordinal = 0;
        name.clear();
        if (first == 0) return;
        if (first == 0xFFFF) {
            ordinal = Word();
            return;
        }
        name += static_cast<wchar_t>(first);
        name += String();
    }
    void AlignDword() {
        while (m_ok && ((m_p - m_begin) & 3)) Byte();
    }
    void Skip(size_t n) {
        if (static_cast<size_t>(m_end - m_p) < n) m_ok = false;
        else m_p += n;
    }

private:
    void Take(void* out, size_t n) {
        if (!m_ok || static_cast<size_t>(m_end - m_p) < n) {
            m_ok = false;
            return;
        }
        memcpy(out, m_p, n);
        m_p += n;
    }
    const uint8_t* m_p;
    const uint8_t* m_begin;
    const uint8_t* m_end;
    bool m_ok = true;
};

} // namespace dlgtemplate_detail

inline DialogTemplate ReadDialogTemplate(int id) {
    DialogTemplate t;
    HRSRC info = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
    HGLOBAL res = info ? ::LoadResource(nullptr, info) : nullptr;
    const auto* p = res ? static_cast<const uint8_t*>(::LockResource(res)) : nullptr;
    if (!p) return t;
    dlgtemplate_detail::Cursor c(p, p + ::SizeofResource(nullptr, info));
    if (c.Word() != 1 || c.Word() != 0xFFFF) return t; // only the extended form
    c.Dword();                                         // help id
    c.Dword();                                         // extended style
    t.style = c.Dword();
    const int items = c.Word();
    t.x = c.Short();
    t.y = c.Short();
    t.cx = c.Short();
    t.cy = c.Short();
    WORD ordinal = 0;
    std::wstring name;
    c.NameOrOrdinal(ordinal, name); // menu
    c.NameOrOrdinal(ordinal, name); // window class
    t.caption = c.String();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = c.Word();
        c.Word(); // weight
        c.Byte(); // italic
        c.Byte(); // character set
        t.typeface = c.String();
    }
    for (int i = 0; i < items && c.Ok(); ++i) {
        c.AlignDword();
        TemplateControl ctl;
        c.Dword(); // help id
        c.Dword(); // extended style
        ctl.style = c.Dword();
        ctl.x = c.Short();
        ctl.y = c.Short();
        ctl.cx = c.Short();
        ctl.cy = c.Short();
        ctl.id = c.Dword();
        c.NameOrOrdinal(ctl.classOrdinal, name);
        WORD titleOrdinal = 0;
        c.NameOrOrdinal(titleOrdinal, ctl.title);
        c.Skip(c.Word()); // creation data
        t.controls.push_back(ctl);
    }
    t.ok = c.Ok() && static_cast<int>(t.controls.size()) == items;
    return t;
}

// One line per control, for comparing a template's controls as a whole: "id class x,y cx x cy "title"
// [hidden]", the title in GBK like the program's own texts.
inline std::string DescribeControl(const TemplateControl& c) {
    std::string title(c.title.size() * 4 + 1, '\0');
    const int n = ::WideCharToMultiByte(936, 0, c.title.c_str(), (int)c.title.size(), &title[0],
                                        (int)title.size(), nullptr, nullptr);
    title.resize(n > 0 ? n : 0);
    const char* kind = c.classOrdinal == 0x80 ? "button" : c.classOrdinal == 0x82 ? "static" : "other";
    return std::to_string(c.id) + " " + kind + " " + std::to_string(c.x) + "," + std::to_string(c.y) + " " +
           std::to_string(c.cx) + "x" + std::to_string(c.cy) + " \"" + title + "\"" +
           ((c.style & WS_VISIBLE) ? "" : " hidden");
}
