// The camera's device information, its ADC readings and the five status verdicts drawn from them.
// Platform-free.
#pragma once

#include <cstdint>

// Decimal conversion of a parameter value as the C library's does it (leading blanks, an optional
// sign, the digits up to the first other character; none gives 0), held to the range of an int32 so
// that an overlong number cannot overflow.
int32_t ParamDecimal(const char* value);

// Kind-5 device information: "ProductType", "Version" and "ORVGROUP", in that order of matching, with
// a 512-byte token buffer. The three fields are zeroed first, so an empty or unreadable text leaves
// them empty. Texts too long for their field are cut on a whole character (31 and 63 bytes at most).
// A NULL text counts as empty. Returns which values were cut (INFO_*_CUT): a cut value is not the
// camera's and must not pass its verdict.
enum { INFO_PRODUCT_TYPE_CUT = 1, INFO_VERSION_CUT = 2 };
unsigned ParseProductInfoText(const char* text, char (&productType)[32], char (&version)[64], int32_t& group);

// ADC readings: "adcHValue", "adcRValue", "adcLValue", in that order of matching, with a 256-byte token
// buffer. A key that is absent leaves its value as it was.
void ParseAdcText(const char* text, int32_t& adcH, int32_t& adcL, int32_t& adcR);

enum Verdict { VERDICT_FAIL = 0, VERDICT_UNKNOWN = 1, VERDICT_PASS = 2 };
enum StatusIndex {
    STATUS_PRODUCT_TYPE = 0,
    STATUS_VERSION = 1,
    STATUS_GROUP = 2,
    STATUS_WIFI_QUALITY = 3,
    STATUS_ADC = 4,
    STATUS_COUNT = 5,
};

// What one evaluation reads. Texts are NUL-terminated; NULL counts as empty.
struct StatusInputs {
    bool bInfoReceived;        // a kind-5 device information packet has arrived
    const char* szProductType; // as reported
    const char* szVersion;
    int32_t nGroup; // low byte the group letter
    const char* szExpProductType;
    const char* szExpVersion; // a five-character prefix, then the least build number
    const char* szExpGroup;   // one letter
    const char* szExpSsid;
    const char* szExpQuality; // least signal quality, decimal
    int32_t nSsidQuality;     // quality of the expected network in the last search
    int32_t nAdcH;
    int32_t nAdcR;
    unsigned nCut = 0; // INFO_*_CUT of the reported values: such a value fails its verdict
};

// One evaluation, in place: a verdict that the rules leave alone keeps its value (the wireless quality
// when no network is expected).
void EvaluateVerdicts(const StatusInputs& in, int (&status)[STATUS_COUNT]);
