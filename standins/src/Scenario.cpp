// The scenario file: an INI read with the private-profile API. [Line] lists the cameras and the
// timing, [Sdk] makes SDK calls fail, one section per camera describes it.
#include "Line.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace line {
namespace {

// GetPrivateProfileString cannot tell a missing key from an empty one without a default nobody writes.
const char kAbsent[] = "\x01<absent>";

class Reader {
public:
    Reader(std::string path, std::vector<std::string>& errors) : path_(std::move(path)), errors_(errors) {}

    bool Has(const char* section, const char* key) const {
        char buf[16];
        GetPrivateProfileStringA(section, key, kAbsent, buf, sizeof buf, path_.c_str());
        return strcmp(buf, kAbsent) != 0;
    }

    // False (and an error when required) when the key is absent.
    bool Text(const char* section, const char* key, std::string& out, bool required) {
        std::vector<char> buf(4096);
        GetPrivateProfileStringA(section, key, kAbsent, buf.data(), (DWORD)buf.size(), path_.c_str());
        if (strcmp(buf.data(), kAbsent) == 0) {
            if (required) Error(section, key, "missing");
            return false;
        }
        out = buf.data();
        return true;
    }

    // Decimal, or hexadecimal with 0x; the whole value must be the number.
    bool Int(const char* section, const char* key, int& out, bool required) {
        std::string text;
        if (!Text(section, key, text, required)) return false;
        if (!ParseInt(text, out)) {
            Error(section, key, "\"" + text + "\" is not a number");
            return false;
        }
        return true;
    }

    bool Switch(const char* section, const char* key, bool& out) {
        int v = out ? 1 : 0;
        if (!Int(section, key, v, false)) return false;
        if (v != 0 && v != 1) {
            Error(section, key, "must be 0 or 1, not " + std::to_string(v));
            return false;
        }
        out = v != 0;
        return true;
    }

    // Delays and intervals: 0 to one hour.
    void Millis(const char* section, const char* key, int& out) {
        int v = out;
        if (!Int(section, key, v, false)) return;
        if (v < 0 || v > 3600000)
            Error(section, key, "must be 0 to 3600000 ms, not " + std::to_string(v));
        else
            out = v;
    }

    void Error(const char* section, const char* key, const std::string& what) {
        errors_.push_back("[" + std::string(section) + "] " + key + ": " + what);
    }

    static bool ParseInt(const std::string& text, int& out) {
        const char* s = text.c_str();
        while (*s == ' ' || *s == '\t')
            ++s;
        int base = 10;
        if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) base = 16;
        char* end = nullptr;
        errno = 0;
        long v = strtol(s, &end, base);
        if (end == s || errno == ERANGE) return false;
        while (*end == ' ' || *end == '\t')
            ++end;
        if (*end != '\0') return false;
        out = (int)v;
        return true;
    }

private:
    std::string path_;
    std::vector<std::string>& errors_;
};

bool ParseIp(const std::string& s) {
    unsigned a, b, c, d;
    int used = 0;
    if (sscanf(s.c_str(), "%3u.%3u.%3u.%3u%n", &a, &b, &c, &d, &used) != 4 || used != (int)s.size())
        return false;
    return a < 256 && b < 256 && c < 256 && d < 256;
}

bool ParseGuid(const std::string& s, LanToolGuid& g) {
    unsigned d1, d2, d3, b[8];
    int used = 0;
    if (sscanf(s.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}%n", &d1, &d2, &d3, &b[0], &b[1], &b[2],
               &b[3], &b[4], &b[5], &b[6], &b[7], &used) != 11 ||
        used != (int)s.size() || s.size() != 38)
        return false;
    g.Data1 = d1;
    g.Data2 = (uint16_t)d2;
    g.Data3 = (uint16_t)d3;
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = (uint8_t)b[i];
    return true;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        std::string part = s.substr(start, at == std::string::npos ? std::string::npos : at - start);
        size_t a = part.find_first_not_of(" \t"), z = part.find_last_not_of(" \t");
        parts.push_back(a == std::string::npos ? std::string() : part.substr(a, z - a + 1));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

void Ports(Reader& r, const char* key, std::vector<int>& out) {
    std::string text;
    if (!r.Text("Sdk", key, text, false) || text.empty()) return;
    for (const std::string& p : Split(text, ',')) {
        int v;
        if (!Reader::ParseInt(p, v) || v < 1 || v > 65535)
            r.Error("Sdk", key, "\"" + p + "\" is not a port");
        else
            out.push_back(v);
    }
}

// "ssid:quality:encryption|ssid:quality:encryption", encryption -1 for an open network.
void AccessPoints(Reader& r, const char* section, Camera& c) {
    std::string text;
    if (!r.Text(section, "AccessPoints", text, false) || text.empty()) return;
    for (const std::string& item : Split(text, '|')) {
        std::vector<std::string> f = Split(item, ':');
        ApRecord ap = {};
        int q = 0, enc = 0;
        if (f.size() != 3 || f[0].empty() || f[0].size() > 31 || !Reader::ParseInt(f[1], q) ||
            !Reader::ParseInt(f[2], enc)) {
            r.Error(section, "AccessPoints", "\"" + item + "\" is not ssid:quality:encryption");
            continue;
        }
        memcpy(ap.szSsid, f[0].c_str(), f[0].size());
        ap.nQuality = q;
        ap.nEncryption = enc;
        ap.nAuthIndex = enc == -1 ? 0 : 4;
        ap.nEncIndex = enc == -1 ? 0 : 2;
        c.aps.push_back(ap);
    }
}

bool ReadCamera(Reader& r, const std::string& name, Camera& c) {
    const char* s = name.c_str();
    bool ok = true;
    c.name = name;
    if (!r.Text(s, "IP", c.ip, true)) {
        ok = false;
    } else if (!ParseIp(c.ip)) {
        r.Error(s, "IP", "\"" + c.ip + "\" is not a dotted IPv4 address");
        ok = false;
    }
    ok = r.Int(s, "Port", c.port, true) && ok;
    ok = r.Int(s, "Type", c.type, true) && ok;
    if (r.Text(s, "Group", c.group, false) && (c.group.empty() || c.group.size() > 3)) {
        r.Error(s, "Group", "must be 1 to 3 characters");
        ok = false;
    }
    ok = (r.Has(s, "Number") ? r.Int(s, "Number", c.number, false) : true) && ok;
    std::string guid;
    if (r.Text(s, "Guid", guid, false) && !ParseGuid(guid, c.guid)) {
        r.Error(s, "Guid", "\"" + guid + "\" is not {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}");
        ok = false;
    }
    if (r.Has(s, "Data")) ok = r.Int(s, "Data", c.dataValue, false) && ok;
    r.Text(s, "ProductType", c.productType, false);
    r.Text(s, "Version", c.version, false);
    if (r.Has(s, "OrvGroup")) ok = r.Int(s, "OrvGroup", c.orvGroup, false) && ok;
    const char* adcKeys[] = {"AdcH", "AdcL", "AdcR"};
    int* adcs[] = {&c.adcH, &c.adcL, &c.adcR};
    for (int i = 0; i < 3; ++i)
        if (r.Has(s, adcKeys[i])) ok = r.Int(s, adcKeys[i], *adcs[i], false) && ok;
    if (r.Has(s, "Actived")) ok = r.Int(s, "Actived", c.actived, false) && ok;
    r.Text(s, "WifiId", c.wifiId, false);
    r.Text(s, "WifiPw", c.wifiPw, false);
    if (r.Has(s, "WifiQ")) ok = r.Int(s, "WifiQ", c.wifiQ, false) && ok;
    AccessPoints(r, s, c);
    ok = (r.Has(s, "AskNumber") ? r.Switch(s, "AskNumber", c.asksNumber) : true) && ok;
    int askAfter = 0;
    if (r.Has(s, "AskAfter")) {
        if (r.Int(s, "AskAfter", askAfter, false) && askAfter >= 0)
            c.askAfter = askAfter;
        else if (askAfter < 0)
            r.Error(s, "AskAfter", "must not be negative");
    }
    ok = (r.Has(s, "ConnectFails") ? r.Switch(s, "ConnectFails", c.connectFails) : true) && ok;
    ok = (r.Has(s, "Broadcasts") ? r.Switch(s, "Broadcasts", c.broadcasts) : true) && ok;
    if (!r.Text(s, "PtzParams", c.ptzParams, false))
        c.ptzParams = "PTZ_PROTOCOL=PELCO-D;PTZ_ADDR=1;PTZ_SPEED=128;";
    return ok;
}

} // namespace

std::string DefaultScenarioPath() {
    char path[MAX_PATH] = {};
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)&DefaultScenarioPath, &self);
    GetModuleFileNameA(self, path, MAX_PATH - 1);
    char* slash = strrchr(path, '\\'); // the module's own path: ASCII folders of the build
    std::string dir = slash ? std::string(path, slash - path) : std::string(".");
    return dir + "\\StandinLine.ini";
}

Scenario ReadScenario(const char* path, std::vector<std::string>& errors) {
    Scenario sc;
    char full[MAX_PATH] = {};
    // A bare name would be looked up in the Windows folder.
    if (!GetFullPathNameA(path, MAX_PATH, full, nullptr) ||
        GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
        errors.push_back(std::string("scenario file \"") + path + "\" not found");
        return sc;
    }
    Reader r(full, errors);
    std::string list;
    // No camera list is an empty line: scenarios that only switch SDK failures need none.
    if (r.Text("Line", "Cameras", list, false)) {
        for (const std::string& name : Split(list, ',')) {
            if (name.empty()) continue;
            if (!r.Has(name.c_str(), "IP") && !r.Has(name.c_str(), "Port")) {
                r.Error(name.c_str(), "IP", "missing (no section for this camera)");
                continue;
            }
            Camera c;
            if (ReadCamera(r, name, c)) sc.cameras.push_back(c);
        }
    }
    Delays& d = sc.delays;
    r.Millis("Line", "SearchDelay", d.search);
    r.Millis("Line", "ConnectDelay", d.connect);
    r.Millis("Line", "VersionDelay", d.version);
    r.Millis("Line", "PacketDelay", d.packet);
    r.Millis("Line", "ScanDelay", d.scan);
    r.Millis("Line", "BroadcastInterval", d.broadcastInterval);
    r.Millis("Line", "PushInterval", d.pushInterval);
    r.Millis("Line", "RebootTime", d.rebootTime);
    r.Switch("Sdk", "LanToolFails", sc.lanToolFails);
    r.Switch("Sdk", "PreviewInitFails", sc.previewInitFails);
    r.Switch("Sdk", "CreatePlayerFails", sc.createPlayerFails);
    Ports(r, "BusySearchPorts", sc.busySearchPorts);
    Ports(r, "BusyBroadcastPorts", sc.busyBroadcastPorts);
    return sc;
}

} // namespace line
