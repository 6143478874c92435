// The adapter inventory against a host of the test's own: records, selection, look-ups, requests and
// their command lines (recorded, never run), the registry name, the process runner, the listener.
#include "NetwatchTestSupport.h"
#include "TestTime.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

FakeAdapter Adapter(const std::string& guid, const std::string& connection, const std::string& ip,
                    unsigned dhcp = 0) {
    FakeAdapter a{guid, connection, "Adapter " + guid, {0x00, 0x0c, 0x29, 0xab, 0xcd, 0xef},
                  dhcp, ip,         "255.255.255.0",   ""};
    if (ip != "0.0.0.0") a.gateway = ip.substr(0, ip.rfind('.')) + ".1";
    return a;
}

std::string Selected(CSystemInfo& info) {
    char name[kNameSize];
    info.GetSelectedName(name);
    return name;
}

std::string IpOf(CSystemInfo& info, const char* name) {
    char out[16] = "untouched";
    info.GetAdapterIp(out, name);
    return out;
}

} // namespace

TEST(NetwatchInventory, RefreshCopiesEveryFieldAndTheTwoDnsServers) {
    Host() = FakeHost{};
    Host().adapters = {
        {"{A1}",
         "本地连接",
         "Intel(R) PRO/1000",
         {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e},
         1,
         "192.168.1.23",
         "255.255.255.0",
         "192.168.1.1"},
        {"{B2}", "", "Wireless", {0xf0, 0xde, 0xf1, 0x00, 0x01, 0x02}, 0, "0.0.0.0", "0.0.0.0", "0.0.0.0"},
    };
    Host().dns = {"10.0.0.53", "10.0.0.54", "10.0.0.55"};
    CSystemInfo info;
    info.SetHostNetApi(FakeHostApi());
    info.Step();

    std::vector<AdapterRecord> got = info.Adapters();
    ASSERT_EQ(2u, got.size());
    EXPECT_STREQ("本地连接", got[0].szConnection);
    EXPECT_STREQ("Intel(R) PRO/1000", got[0].szDescription);
    EXPECT_STREQ("00:1A:2B:3C:4D:5E", got[0].szMac);
    EXPECT_EQ(1u, got[0].DhcpEnabled);
    EXPECT_STREQ("192.168.1.23", got[0].szIp);
    EXPECT_STREQ("255.255.255.0", got[0].szMask);
    EXPECT_STREQ("192.168.1.1", got[0].szGateway);
    EXPECT_STREQ("", got[1].szConnection) << "an unreadable connection name stays empty";
    EXPECT_STREQ("F0:DE:F1:00:01:02", got[1].szMac);
    EXPECT_EQ(0u, got[1].DhcpEnabled);
    char dns1[16], dns2[16];
    info.GetDnsServers(dns1, dns2);
    EXPECT_STREQ("10.0.0.53", dns1);
    EXPECT_STREQ("10.0.0.54", dns2);
    EXPECT_FALSE(info.RefreshPending());
    EXPECT_EQ(1, Host().adapterQueries);

    // Without a refresh request the next steps leave the inventory alone.
    info.Step();
    EXPECT_EQ(1, Host().adapterQueries);

    // Network parameters that report no size leave the DNS servers as they were.
    Host().dns.clear();
    info.RequestRefresh();
    info.Step();
    EXPECT_EQ(2, Host().adapterQueries);
    info.GetDnsServers(dns1, dns2);
    EXPECT_STREQ("10.0.0.53", dns1);
    EXPECT_STREQ("10.0.0.54", dns2);
}

TEST(NetwatchInventory, SelectsTheFirstAdapterWithAnAddressAndKeepsIt) {
    struct Case {
        const char* what;
        std::vector<FakeAdapter> adapters;
        std::string selected;
    } cases[] = {
        {"the first has no address",
         {Adapter("{1}", "LAN 1", "0.0.0.0"), Adapter("{2}", "LAN 2", "10.1.1.9")},
         "LAN 2"},
        {"both have one",
         {Adapter("{1}", "LAN 1", "10.1.1.8"), Adapter("{2}", "LAN 2", "10.1.1.9")},
         "LAN 1"},
        {"none has one", {Adapter("{1}", "LAN 1", "0.0.0.0")}, ""},
        {"the one with an address has no readable name",
         {Adapter("{1}", "", "10.1.1.8"), Adapter("{2}", "LAN 2", "10.1.1.9")},
         ""},
        {"no adapters", {}, ""},
    };
    for (const Case& c : cases) {
        Host() = FakeHost{};
        Host().adapters = c.adapters;
        CSystemInfo info;
        info.SetHostNetApi(FakeHostApi());
        info.Step();
        EXPECT_EQ(c.selected, Selected(info)) << c.what;
    }

    // The selection outlives its adapter: afterwards the look-ups for it find nothing.
    Host() = FakeHost{};
    Host().adapters = {Adapter("{1}", "LAN 1", "0.0.0.0"), Adapter("{2}", "LAN 2", "10.1.1.9")};
    CSystemInfo info;
    info.SetHostNetApi(FakeHostApi());
    info.Step();
    EXPECT_EQ("10.1.1.9", IpOf(info, nullptr));
    Host().adapters = {Adapter("{1}", "LAN 1", "10.1.1.8")};
    info.RequestRefresh();
    info.Step();
    EXPECT_EQ("LAN 2", Selected(info));
    EXPECT_EQ("untouched", IpOf(info, nullptr));
    EXPECT_EQ(-1, info.GetAdapterDhcp(nullptr));
    EXPECT_EQ("10.1.1.8", IpOf(info, "LAN 1"));
}

TEST(NetwatchInventory, LookUpsMatchTheNameByteForByte) {
    CaptureTraces();
    Host() = FakeHost{};
    Host().adapters = {Adapter("{1}", "Ethernet", "10.1.1.8", 1), Adapter("{2}", "本地连接 2", "10.2.2.9")};
    Host().adapters[1].gateway = "10.2.2.254";
    CSystemInfo info;
    info.SetHostNetApi(FakeHostApi());
    info.Step();

    struct Case {
        const char* name;
        const char *ip, *mask, *gateway;
        int dhcp;
    } cases[] = {
        {"Ethernet", "10.1.1.8", "255.255.255.0", "10.1.1.1", 1},
        {"本地连接 2", "10.2.2.9", "255.255.255.0", "10.2.2.254", 0},
        {nullptr, "10.1.1.8", "255.255.255.0", "10.1.1.1", 1}, // the selected one
        {"ethernet", "untouched", "untouched", "untouched", -1},
        {"Ethernet ", "untouched", "untouched", "untouched", -1},
        {"", "untouched", "untouched", "untouched", -1},
    };
    for (const Case& c : cases) {
        const char* what = c.name ? c.name : "(selected)";
        char ip[16] = "untouched", mask[16] = "untouched", gateway[16] = "untouched";
        info.GetAdapterIp(ip, c.name);
        info.GetAdapterMask(mask, c.name);
        info.GetAdapterGateway(gateway, c.name);
        EXPECT_STREQ(c.ip, ip) << what;
        EXPECT_STREQ(c.mask, mask) << what;
        EXPECT_STREQ(c.gateway, gateway) << what;
        EXPECT_EQ(c.dhcp, info.GetAdapterDhcp(c.name)) << what;
    }
    EXPECT_EQ(2, CountTraces("dhcp=1\n")) << JoinedTraces();
    EXPECT_EQ(1, CountTraces("dhcp=0\n")) << JoinedTraces();
    EXPECT_EQ(nullptr, info.FindAdapter(nullptr));
    info.GetAdapterIp(nullptr, "Ethernet"); // no output buffer: nothing happens
    AdapterRecord* copy = info.FindAdapter("本地连接 2");
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ("Adapter {2}", copy->szDescription);
    free(copy);
}

TEST(NetwatchInventory, TooLittleRoomIsAskedForAgainAndNoInterfacesLeaveTheInventoryEmpty) {
    CaptureTraces();
    Host() = FakeHost{};
    Host().adapters = {Adapter("{1}", "LAN 1", "10.1.1.8")};
    CSystemInfo info;
    info.SetHostNetApi(FakeHostApi());
    info.Step();
    ASSERT_EQ(1u, info.Adapters().size());

    // More adapters than interfaces counted: a second call with the size the first one asked for.
    Host().adapters.push_back(Adapter("{2}", "LAN 2", "10.1.1.9"));
    Host().interfaceCount = 1;
    info.RequestRefresh();
    info.Step();
    EXPECT_EQ(2u, info.Adapters().size());
    EXPECT_EQ(3, Host().adapterQueries);
    EXPECT_EQ("10.1.1.8", IpOf(info, nullptr));

    Host().interfaceCount = 0;
    info.RequestRefresh();
    info.Step();
    EXPECT_EQ(0u, info.Adapters().size());
    EXPECT_EQ(1, CountTraces("NOT FOUND NIC...\n")) << JoinedTraces();
}

TEST(NetwatchInventory, PendingRequestsRunTheirCommandLineOnce) {
    const std::string wait = " [wait]";
    struct Case {
        const char* what;
        bool address; // else DNS
        std::string target;
        unsigned dhcp;
        const char *ip, *mask, *gateway;
        std::vector<std::string> commands;
        bool pendingAfter;
        unsigned adapterDhcp = 0; // the adapter's own DHCP flag
    } cases[] = {
        {"values as they are: nothing runs, the request stays",
         true,
         "LAN 1",
         0,
         "10.1.1.8",
         "255.255.255.0",
         "10.1.1.1",
         {},
         true},
        {"the same values, but the adapter has DHCP on: the static request runs",
         true,
         "LAN 1",
         0,
         "10.1.1.8",
         "255.255.255.0",
         "10.1.1.1",
         {"netsh interface ip set address name=\"LAN 1\" source=static addr=10.1.1.8 mask=255.255.255.0 "
          "gateway=10.1.1.1 1" +
          wait},
         false,
         1},
        {"DHCP on a static adapter",
         true,
         "LAN 1",
         1,
         "",
         "",
         "",
         {"netsh interface ip set address name=\"LAN 1\" source=dhcp" + wait},
         false},
        {"new static values",
         true,
         "LAN 1",
         0,
         "10.1.1.50",
         "255.255.0.0",
         "10.1.1.254",
         {"netsh interface ip set address name=\"LAN 1\" source=static addr=10.1.1.50 mask=255.255.0.0 "
          "gateway=10.1.1.254 1" +
          wait},
         false},
        {"a gateway alone",
         true,
         "LAN 1",
         0,
         "",
         "",
         "10.1.1.2",
         {"netsh interface ip set address name=\"LAN 1\" source=static addr= mask= gateway=10.1.1.2 1" +
          wait},
         false},
        {"a name that would break out of its quotes", true, "LAN\" x=\"", 1, "", "", "", {}, false},
        {"DNS address only",
         false,
         "LAN 1",
         0,
         "8.8.8.8",
         nullptr,
         nullptr,
         {"netsh interface ip set dns name=\"LAN 1\" source=static addr=8.8.8.8 register=primary" + wait},
         false},
        {"DNS by DHCP",
         false,
         "LAN 1",
         1,
         "",
         nullptr,
         nullptr,
         {"netsh interface ip set dns name=\"LAN 1\" source=dhcp" + wait},
         false},
    };
    for (const Case& c : cases) {
        Host() = FakeHost{};
        Host().adapters = {Adapter("{1}", "LAN 1", "10.1.1.8", c.adapterDhcp)};
        CSystemInfo info;
        info.SetHostNetApi(FakeHostApi());
        info.Step();
        if (c.address)
            info.RequestAddress(c.target.c_str(), c.dhcp, c.ip, c.mask, c.gateway);
        else
            info.RequestDns(c.target.c_str(), static_cast<int>(c.dhcp), c.ip);
        info.Step();
        info.Step();
        EXPECT_EQ(c.commands, Host().commands) << c.what;
        EXPECT_EQ(c.pendingAfter, c.address ? info.AddressRequestIsPending() : info.DnsRequestIsPending())
            << c.what;
        // An applied address request has the inventory read again at the next step.
        int expectedQueries = c.address && !c.pendingAfter ? 2 : 1;
        EXPECT_EQ(expectedQueries, Host().adapterQueries) << c.what;
    }
}

TEST(NetwatchInventory, ConnectionNameComesFromTheAdaptersRegistryKey) {
    const char* guid = "{7E5A0C11-0000-4E77-9A11-0123456789AB}";
    char path[300];
    std::snprintf(
        path, sizeof path,
        "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection",
        guid);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    const char name[] = "本地连接 3";
    RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name);
    RegCloseKey(key);

    // Read rights only for everyone, as an unelevated user has them on this key.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;0x70019;;;WD)", SDDL_REVISION_1,
                                                                     &readOnly, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly));
    RegCloseKey(key);
    LocalFree(readOnly);
    HKEY writable = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, &writable) == ERROR_SUCCESS) {
        RegCloseKey(writable);
        std::printf(
            "note: this registry grants write access all the same; the read-only case is not shown\n");
    }

    const HostNetApi& real = RealHostNetApi();
    char out[kNameSize] = "untouched";
    EXPECT_TRUE(real.readConnectionName(guid, out, sizeof out));
    EXPECT_STREQ(name, out);
    PSECURITY_DESCRIPTOR allAccess = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;0xF003F;;;WD)", SDDL_REVISION_1,
                                                                     &allAccess, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, WRITE_DAC, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, allAccess));
    RegCloseKey(key);
    LocalFree(allAccess);

    // A name that fills the whole field (259 characters and the terminator: 260 bytes) is read whole.
    const std::string longest(kNameSize - 1, 'L');
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(longest.c_str()),
                   static_cast<DWORD>(longest.size() + 1));
    RegCloseKey(key);
    char full[kNameSize] = "untouched";
    EXPECT_TRUE(real.readConnectionName(guid, full, sizeof full));
    EXPECT_EQ(longest, std::string(full)) << "got " << std::strlen(full) << " bytes, expected 259";
    char other[kNameSize] = "untouched";
    EXPECT_FALSE(real.readConnectionName("{00000000-0000-0000-0000-000000000000}", other, sizeof other));
    EXPECT_STREQ("untouched", other);

    std::snprintf(path, sizeof path,
                  "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s",
                  guid);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
}

TEST(NetwatchInventory, RunCommandLineStartsWaitsAndReportsFailure) {
    EXPECT_EQ(0, RunCommandLine(nullptr, 1, 0));
    char missing[] = "lk-no-such-program-here.exe";
    EXPECT_EQ(0, RunCommandLine(missing, 1, 0));
    // With wait the process has ended (its file is written) when the call returns.
    char command[] = "cmd.exe /c echo done>ran.txt";
    EXPECT_EQ(1, RunCommandLine(command, 1, 0));
    std::ifstream f("ran.txt");
    std::string text;
    std::getline(f, text);
    EXPECT_EQ("done", text.substr(0, 4)) << "the command's file after the wait";
}

TEST(NetwatchInventory, AnAddressChangeMakesBothWorkersRefresh) {
    CaptureTraces();
    Host() = FakeHost{};
    Host().adapters = {Adapter("{1}", "LAN 1", "0.0.0.0")};
    g_SystemInfo.SetHostNetApi(FakeHostApi());
    ASSERT_EQ(1, g_SystemInfo.Start());
    EXPECT_EQ(0, g_SystemInfo.Start());
    ASSERT_TRUE(WaitForTrace("nic listening...\n", 1, 5000)) << JoinedTraces();
    // The first steps: the inventory reads the adapters; the finder looks once and finds no address.
    WaitUntil([] { return !g_SystemInfo.RefreshPending(); }, 5000);
    ASSERT_FALSE(g_SystemInfo.RefreshPending()) << "the inventory's first step never came";
    unsigned step = 1;
    g_IPServer.Step(step);
    ASSERT_FALSE(g_IPServer.RefreshPending());
    int queries = Host().adapterQueries;

    WaitUntil(SignalNicChange, 5000, 5);
    ASSERT_TRUE(WaitForTrace("IP Address table changed...\n", 1, 5000)) << JoinedTraces();
    // The listener traces the change before it asks the workers to refresh.
    WaitUntil([] { return g_IPServer.RefreshPending(); }, 1000, 1);
    EXPECT_TRUE(g_IPServer.RefreshPending());
    // The inventory's worker reads the adapters again at its next step.
    WaitUntil([queries] { return Host().adapterQueries != queries; }, 3000);
    EXPECT_EQ(queries + 1, Host().adapterQueries);

    g_SystemInfo.Stop();
    bool ended = false;
    for (const std::string& t : Traces())
        ended = ended || (t.compare(0, 20, "m_nIndex=2, Thread:0") == 0 &&
                          t.find(" end, m_bInThread:0...") != std::string::npos);
    EXPECT_TRUE(ended) << JoinedTraces();
    // Stop has waited for the listener (a second Start started none), with no address change.
    EXPECT_EQ(1, CountTraces("nic listening...\n")) << JoinedTraces();
    EXPECT_EQ(1, CountTraces("stop nic listen...\n")) << JoinedTraces();
    EXPECT_EQ(1, CountTraces("IP Address table changed...\n")) << JoinedTraces();
    EXPECT_FALSE(SignalNicChange()) << "the listener's event outlived the listener";
}
