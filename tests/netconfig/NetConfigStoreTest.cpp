// The parameter parser against the config store: key matching, value conversions, field bounds and
// what a parse clears and keeps.
#include "NetConfigStore.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct DlgMembers {
    int nSoftVersion = 0;
    int nClientPower = 4;
    int bRtmpSupport = 0;
    NetDlgParams Params() { return {&nSoftVersion, &nClientPower, &bRtmpSupport}; }
};

// The store is large; each test gets a fresh zeroed one on the heap.
std::unique_ptr<NetConfigStore> NewStore() {
    std::unique_ptr<NetConfigStore> s(new NetConfigStore);
    std::memset(s.get(), 0, sizeof(*s));
    return s;
}

std::unique_ptr<NetConfigStore> Parse(const char* text, DlgMembers* pDlg = nullptr) {
    DlgMembers local;
    auto s = NewStore();
    ParseNetParams(text, *s, (pDlg ? pDlg : &local)->Params());
    return s;
}

bool IsAllZero(const void* p, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (b[i]) return false;
    return true;
}

TEST(NetConfigStore, AddressValuesGiveTextAndHostOrderNumber) {
    struct Case {
        const char* value;
        uint32_t expected;
    };
    const Case cases[] = {
        {"192.168.1.10", 0xC0A8010Au}, {"0.0.0.0", 0}, {"255.255.255.255", 0xFFFFFFFFu},
        {"abc", 0xFFFFFFFFu},          // not an address: all bits set
        {"1.2.3.256", 0xFFFFFFFFu},    // a part above 255
        {"1.2.3.4.5", 0xFFFFFFFFu},    // five parts
        {"1.2.3.4x", 0xFFFFFFFFu},     // trailing garbage
        {"1.2.3.", 0xFFFFFFFFu},       // empty last part
        {"1.2.3.4 tail", 0x01020304u}, // white space ends the address
        {"10.1", 0x0A000001u},         // a.b: b fills 24 bits
        {"10.1.2", 0x0A010002u},       // a.b.c: c fills 16 bits
        {"3232235786", 0xC0A8010Au},   // one part: the whole number
        {"0x7f.0.0.1", 0x7F000001u},   // C numbers: hexadecimal
        {"010.0.0.1", 0x08000001u},    // and octal
        {"08.0.0.1", 0xFFFFFFFFu},     // 8 is no octal digit
        {"4294967296", 0xFFFFFFFFu},   // above 32 bits
    };
    for (const Case& c : cases) {
        const std::string text = std::string("ETH_GW=") + c.value + ";";
        auto s = Parse(text.c_str());
        const NetIfRecord& eth = s->netIf[NETIF_WIRED];
        EXPECT_EQ(eth.dwGateway, c.expected) << "value " << c.value;
        EXPECT_EQ(s->wiredSnapshot.dwGateway, c.expected) << "value " << c.value;
        EXPECT_STREQ(eth.szGateway, c.value) << "value " << c.value;
    }
}

TEST(NetConfigStore, EachAddressKeyFillsItsRecordAndOnlyWiredKeysTheSnapshot) {
    auto s = Parse("ETH_IP=1.1.1.1;ETH_NM=1.1.1.2;ETH_GW=1.1.1.3;ETH_DNS=1.1.1.4;"
                   "ADSL_IP=2.2.2.1;ADSL_NM=2.2.2.2;ADSL_GW=2.2.2.3;ADSL_DNS=2.2.2.4;"
                   "WIFI_IP=3.3.3.1;WIFI_NM=3.3.3.2;WIFI_GW=3.3.3.3;WIFI_DNS=3.3.3.4;");
    for (int i = 0; i < NETIF_COUNT; ++i) {
        const NetIfRecord& r = s->netIf[i];
        const uint32_t base = (uint32_t)(i + 1) * 0x01010100u;
        EXPECT_EQ(r.dwIp, base + 1) << "record " << i;
        EXPECT_EQ(r.dwMask, base + 2) << "record " << i;
        EXPECT_EQ(r.dwGateway, base + 3) << "record " << i;
        EXPECT_EQ(r.dwDns, base + 4) << "record " << i;
    }
    EXPECT_STREQ(s->netIf[NETIF_DIALUP].szDns, "2.2.2.4");
    EXPECT_STREQ(s->netIf[NETIF_WIRELESS].szMask, "3.3.3.2");
    const WiredSnapshot& w = s->wiredSnapshot;
    EXPECT_EQ(w.dwIp, 0x01010101u);
    EXPECT_EQ(w.dwMask, 0x01010102u);
    EXPECT_EQ(w.dwGateway, 0x01010103u);
    EXPECT_EQ(w.dwDns, 0x01010104u);
}

// Which field an item lands in, for keys that test the matching rules.
TEST(NetConfigStore, KeyMatchingRules) {
    struct Case {
        const char* text;
        int (*read)(const NetConfigStore&);
        int expected;
    };
    auto selfAdapt = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_WIRED].bSelfAdapt; };
    auto dhcp = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_WIRED].bDhcp; };
    auto gbEnable = [](const NetConfigStore& s) { return (int)s.gb.GB_bEnable; };
    auto gbSupport = [](const NetConfigStore& s) { return (int)s.gb.GB_bSupport; };
    auto ddnsType = [](const NetConfigStore& s) { return (int)s.ddns.nType; };
    auto actived = [](const NetConfigStore& s) { return (int)s.ACTIVED; };
    auto wifiQ = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_WIRELESS].nQuality; };
    auto wifiOn = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_WIRELESS].bOn; };
    auto adslOn = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_DIALUP].bOn; };
    auto auth = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_WIRELESS].nAuth; };
    auto enc = [](const NetConfigStore& s) { return (int)s.netIf[NETIF_WIRELESS].nEnc; };
    auto orv = [](const NetConfigStore& s) { return (int)s.ORVID; };
    const Case cases[] = {
        {"bIPSelfAdaptive=1;", selfAdapt, 1}, // only 10 characters compared
        {"bIPSelfAda=1;", selfAdapt, 1},
        {"bIPSelfAd=1;", selfAdapt, 0}, // shorter than the compared part
        {"bDHCPX=1;", dhcp, 1},
        {"bdhcp=1;", dhcp, 0},  // case-sensitive
        {" bDHCP=1;", dhcp, 0}, // keys are not trimmed
        {"GB_bEnable=1;", gbEnable, 1},
        {"GB_bEnable2=1;", gbEnable, 0}, // whole-key rows take no suffix
        {"GB_bSupport=1;", gbSupport, 1},
        {"GB_bSupportX=1;", gbSupport, 0},
        {"DDNS_Typ=3;", ddnsType, 3}, // 8 characters compared
        {"DDNS_TypeZ=4;", ddnsType, 4},
        {"ACTIVED=2;", actived, 2},
        {"ACTIVEDX=1;", actived, 1},
        {"WIFI_Q=77;", wifiQ, 77},
        {"WIFI_ON=1;", wifiOn, 1},
        {"ADSL_ON=1;", adslOn, 1},
        {"WIFI_AUTH=3;", auth, 3},
        {"WIFI_ENC=-1;", enc, -1},
        {"ORVIDX=12;", orv, 12},
        {"==ORVID=5;", orv, 5},       // leading '=' skipped
        {"ORVID=1;ORVID=2;", orv, 2}, // a later item overwrites
    };
    for (const Case& c : cases) {
        auto s = Parse(c.text);
        EXPECT_EQ(c.read(*s), c.expected) << "text " << c.text;
    }
}

TEST(NetConfigStore, IntegerConversions) {
    struct Case {
        const char* text;
        int (*read)(const NetConfigStore&);
        int expected;
    };
    auto port = [](const NetConfigStore& s) { return (int)s.gb.GB_serverport; };
    auto localPort = [](const NetConfigStore& s) { return (int)s.gb.GB_localport; };
    auto noEth = [](const NetConfigStore& s) { return (int)s.bNoEth; };
    auto home = [](const NetConfigStore& s) { return (int)s.bHome; };
    auto orv = [](const NetConfigStore& s) { return (int)s.ORVID; };
    auto group = [](const NetConfigStore& s) { return (int)s.ORVGROUP; };
    const Case cases[] = {
        {"GB_serverport=5060;", port, 5060},
        {"GB_serverport=65537;", port, 1}, // low 16 bits
        {"GB_localport=-1;", localPort, 65535},
        {"HasEth=0;", noEth, 1},
        {"HasEth=1;", noEth, 0},
        {"HasEth=2;", noEth, 0},
        {"HasEth=x;", noEth, 1}, // no digits reads as 0
        {"HomeIPCFlag=1;", home, 1},
        {"HomeIPCFlag=2;", home, 0},
        {"ORVID=  -42abc;", orv, -42}, // white space, sign, stop at a non-digit
        {"ORVID=+7;", orv, 7},
        {"ORVID=99999999999;", orv, INT_MAX}, // out of range stops at the limit
        {"ORVID=-99999999999;", orv, INT_MIN},
        {"ORVGROUP=4276545;", group, 4276545},
    };
    for (const Case& c : cases) {
        auto s = Parse(c.text);
        EXPECT_EQ(c.read(*s), c.expected) << "text " << c.text;
    }
}

TEST(NetConfigStore, TextValuesAreCopiedWholeOrSkipped) {
    auto s = Parse("WIFI_ID=net\r\n;DDNS_Pwd=a=b;ETH_MAC=00:11:22:aa:bb:cc;ADSL_ID=user;ADSL_PW=secret;"
                   "GB_devid=34020000001320000001;GB_serverip=192.168.100.200;GB_alarminID=alarm1;");
    EXPECT_STREQ(s->netIf[NETIF_WIRELESS].szId, "net"); // the value ends at the carriage return
    EXPECT_STREQ(s->ddns.szPassword, "a=b");
    EXPECT_STREQ(s->netIf[NETIF_WIRED].szMac, "00:11:22:aa:bb:cc");
    EXPECT_STREQ(s->netIf[NETIF_DIALUP].szId, "user");
    EXPECT_STREQ(s->netIf[NETIF_DIALUP].szPassword, "secret");
    EXPECT_STREQ(s->gb.GB_devid, "34020000001320000001");
    EXPECT_STREQ(s->gb.GB_serverip, "192.168.100.200");
    EXPECT_STREQ(s->gb.GB_alarminID, "alarm1");

    // A value longer than its field leaves the field empty (it could be sent back cut); only the MAC
    // text, which is only shown, is cut to size - 1. The items after it are still read. The user name
    // or SSID field holds the 32 bytes edit 1005 takes, the password the 64 of edit 1006.
    struct Case {
        const char* key;
        size_t fieldSize;
        bool cut;
        const char* (*field)(const NetConfigStore&);
    };
    const Case cases[] = {
        {"ETH_MAC", 20, true,
         [](const NetConfigStore& st) { return (const char*)st.netIf[NETIF_WIRED].szMac; }},
        {"ADSL_ID", 33, false,
         [](const NetConfigStore& st) { return (const char*)st.netIf[NETIF_DIALUP].szId; }},
        {"WIFI_ID", 33, false,
         [](const NetConfigStore& st) { return (const char*)st.netIf[NETIF_WIRELESS].szId; }},
        {"WIFI_PW", 65, false,
         [](const NetConfigStore& st) { return (const char*)st.netIf[NETIF_WIRELESS].szPassword; }},
        {"GB_devid", 21, false, [](const NetConfigStore& st) { return (const char*)st.gb.GB_devid; }},
        {"GB_devpasswd", 33, false, [](const NetConfigStore& st) { return (const char*)st.gb.GB_devpasswd; }},
        {"GB_serverip", 18, false, [](const NetConfigStore& st) { return (const char*)st.gb.GB_serverip; }},
        {"GB_alarminID", 24, false, [](const NetConfigStore& st) { return (const char*)st.gb.GB_alarminID; }},
        {"DDNS_Host", 64, false, [](const NetConfigStore& st) { return (const char*)st.ddns.szHost; }},
        {"ETH_IP", 16, false,
         [](const NetConfigStore& st) { return (const char*)st.netIf[NETIF_WIRED].szIp; }},
    };
    for (const Case& c : cases) {
        for (size_t len : {c.fieldSize - 1, c.fieldSize, (size_t)300}) {
            const std::string text = std::string(c.key) + "=" + std::string(len, 'q') + ";ORVID=3;";
            auto st = Parse(text.c_str());
            const size_t kept = len < c.fieldSize ? len : (c.cut ? c.fieldSize - 1 : 0);
            EXPECT_EQ(std::string(c.field(*st)), std::string(kept, 'q'))
                << "key " << c.key << ", length " << len;
            EXPECT_EQ(st->ORVID, 3) << "key " << c.key;
        }
    }
    // A value that does not fit leaves the good one of an earlier item with the same key.
    auto d = Parse(("ADSL_PW=good;ADSL_PW=" + std::string(65, 'q') + ";").c_str());
    EXPECT_STREQ(d->netIf[NETIF_DIALUP].szPassword, "good");
    // A cut MAC does not end in half a GBK character.
    auto g = Parse("ETH_MAC="
                   "aaaaaaaaaaaaaaaaaa\xCD\xF8;");
    EXPECT_EQ(std::string(g->netIf[NETIF_WIRED].szMac), std::string(18, 'a'));
    // An address too long for its text still gives its number.
    g = Parse("WIFI_IP=1.2.3.4                tail;");
    EXPECT_STREQ(g->netIf[NETIF_WIRELESS].szIp, "");
    EXPECT_EQ(g->netIf[NETIF_WIRELESS].dwIp, 0x01020304u);
}

TEST(NetConfigStore, TextsThatCannotBeSentAndAddressesWithoutText) {
    EXPECT_TRUE(IsSendableText("net-5 \xCD\xF8=x"));
    EXPECT_FALSE(IsSendableText("a;nlIP=16777343"));
    EXPECT_FALSE(IsSendableText("a\rb"));
    EXPECT_FALSE(IsSendableText("a\nb"));
    const char field[4] = {'a', 'b', 'c', ';'};
    EXPECT_TRUE(IsSendableText(field, 3)) << "read no further than the field";
    EXPECT_EQ(ReadDottedAddress(""), 0xFFFFFFFFu);
}

TEST(NetConfigStore, ItemsThatEndOrSkip) {
    // An empty item ends the parse: the SSID after it is never read.
    auto s = Parse("ACTIVED=2;;WIFI_ID=x;");
    EXPECT_EQ(s->ACTIVED, 2);
    EXPECT_STREQ(s->netIf[NETIF_WIRELESS].szId, "");
    // Items without a value are skipped, the rest is read; the last item needs no ';'.
    s = Parse("bDHCP;bDHCP=;bDHCP=\r;ORVID=9");
    EXPECT_EQ(s->netIf[NETIF_WIRED].bDhcp, 0);
    EXPECT_EQ(s->ORVID, 9);
    // An item too long for the 512-byte buffer is skipped whole; 511 characters still fit.
    const std::string longItem = "WIFI_PW=" + std::string(600, 'p') + ";ORVID=3;";
    s = Parse(longItem.c_str());
    EXPECT_STREQ(s->netIf[NETIF_WIRELESS].szPassword, "");
    EXPECT_EQ(s->ORVID, 3);
    const std::string fits = "ORVID=" + std::string(504, '0') + "8;";
    ASSERT_EQ(fits.size() - 1, 511u);
    s = Parse(fits.c_str());
    EXPECT_EQ(s->ORVID, 8);
}

TEST(NetConfigStore, RtmpStreamIndexAndValue) {
    struct Case {
        const char* text;
        int index;
        int enable;
        const char* url;
    };
    const Case cases[] = {
        {"RTMP_EN=1;", 0, 1, ""}, // no stream number: stream 1
        {"RTMP_EN0=1;", 0, 1, ""},
        {"RTMP_EN2=5;", 2, 5, ""},
        {"RTMP_EN1=x;", 1, 0, ""},                  // no number in the value: stays 0
        {"RTMP_SERVER_URL2=abc def;", 2, 0, "abc"}, // the first word
        {"RTMP_SERVER_URL1=  rtmp://h/app  ;", 1, 0, "rtmp://h/app"},
        {"RTMP_SERVER_URL=u;", 0, 0, "u"},
    };
    for (const Case& c : cases) {
        auto s = Parse(c.text);
        for (int i = 0; i < NQ_RTMP_COUNT; ++i) {
            EXPECT_EQ(s->rtmp[i].bEnable, i == c.index ? c.enable : 0) << c.text << " stream index " << i;
            EXPECT_STREQ(s->rtmp[i].szServerUrl, i == c.index ? c.url : "")
                << c.text << " stream index " << i;
        }
        EXPECT_TRUE(IsAllZero(s->rtmpSnapshot, sizeof(s->rtmpSnapshot))) << c.text;
    }
    // A stream number that names no server is ignored, and so is a URL longer than its field's
    // worth beyond the cut.
    auto s = Parse("RTMP_EN3=1;RTMP_EN-1=1;RTMP_SERVER_URL7=x;RTMP_EN99999999999=1;");
    EXPECT_TRUE(IsAllZero(s->rtmp, sizeof(s->rtmp)));
    const std::string longUrl = "RTMP_SERVER_URL1=" + std::string(200, 'u') + ";";
    s = Parse(longUrl.c_str());
    EXPECT_EQ(std::string(s->rtmp[1].szServerUrl), std::string(127, 'u'));
}

TEST(NetConfigStore, ParseClearsTheStoreButKeepsIpcinfoTypeAndTakesSnapshots) {
    auto s = NewStore();
    DlgMembers dlg;
    ParseNetParams("ipcinfoType=1;ClientPower=7;Softverion=3400;RTMP_bSupport=1;ORVLANModel=1;"
                   "GB_bSupport=1;GB_devid=dev;DDNS_Type=2;DDNS_Host=h;WIFI_ID=w;ETH_IP=1.2.3.4;",
                   *s, dlg.Params());
    EXPECT_EQ(s->ipcinfoType, 1);
    EXPECT_EQ(dlg.nClientPower, 7);
    EXPECT_EQ(dlg.nSoftVersion, 3400);
    EXPECT_EQ(dlg.bRtmpSupport, 1);
    EXPECT_EQ(s->ORVLANModelSnapshot, 1);
    EXPECT_EQ(std::memcmp(&s->gbSnapshot, &s->gb, sizeof(GbConfig)), 0);
    EXPECT_STREQ(s->gbSnapshot.GB_devid, "dev");
    EXPECT_EQ(std::memcmp(&s->ddnsSnapshot, &s->ddns, sizeof(DdnsConfig)), 0);
    EXPECT_STREQ(s->ddnsSnapshot.szHost, "h");

    // State the dialogs left behind: a scan and RTMP snapshot.
    s->nApCount = 5;
    std::strcpy(s->apList[3].szSsid, "old");
    s->rtmpSnapshot[1].bEnable = 1;

    // A reply that carries one key leaves every other setting zero, except ipcinfoType and the
    // dialog members, which change only when their key is there.
    ParseNetParams("ORVID=5;", *s, dlg.Params());
    EXPECT_EQ(s->ORVID, 5);
    EXPECT_EQ(s->ipcinfoType, 1);
    EXPECT_EQ(dlg.nClientPower, 7);
    EXPECT_EQ(dlg.nSoftVersion, 3400);
    EXPECT_EQ(dlg.bRtmpSupport, 1);
    EXPECT_EQ(s->nApCount, 0);
    EXPECT_TRUE(IsAllZero(s->apList, sizeof(s->apList)));
    EXPECT_TRUE(IsAllZero(s->netIf, sizeof(s->netIf)));
    EXPECT_TRUE(IsAllZero(&s->wiredSnapshot, sizeof(s->wiredSnapshot)));
    EXPECT_TRUE(IsAllZero(&s->gbSnapshot, sizeof(s->gbSnapshot)));
    EXPECT_TRUE(IsAllZero(&s->ddnsSnapshot, sizeof(s->ddnsSnapshot)));
    EXPECT_TRUE(IsAllZero(s->rtmpSnapshot, sizeof(s->rtmpSnapshot)));
    EXPECT_EQ(s->ORVLANModel, 0);
    EXPECT_EQ(s->ORVLANModelSnapshot, 0);

    // A null text only clears; ipcinfoType 0 from the text does overwrite it.
    ParseNetParams(nullptr, *s, dlg.Params());
    EXPECT_EQ(s->ORVID, 0);
    EXPECT_EQ(s->ipcinfoType, 1);
    ParseNetParams("ipcinfoType=0;", *s, dlg.Params());
    EXPECT_EQ(s->ipcinfoType, 0);
    // ClientPower is a whole-key row.
    ParseNetParams("ClientPower2=9;ClientPowe=9;", *s, dlg.Params());
    EXPECT_EQ(dlg.nClientPower, 7);
}

} // namespace
