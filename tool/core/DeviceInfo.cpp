#include "DeviceInfo.h"

#include "GbkText.h"
#include "ParamText.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* OrEmpty(const char* s) {
    return s ? s : "";
}

// The build number of an expected version: characters 6 to 9, when the text reaches that far.
int32_t ExpectedBuild(const char* expected) {
    if (std::strlen(expected) <= 5) return 0;
    char digits[5] = {};
    std::memcpy(digits, expected + 5, strnlen(expected + 5, 4));
    return ParamDecimal(digits);
}

int VersionVerdict(const char* version, const char* expected) {
    if (std::strncmp(version, expected, 5) != 0) return VERDICT_FAIL;
    // Equal over five characters or up to a common terminator: a text shorter than the prefix has no
    // build number to read.
    const int32_t a = std::strlen(version) > 5 ? ParamDecimal(version + 5) : 0;
    const int32_t b = ExpectedBuild(expected);
    return (a >= b && b > 0) ? VERDICT_PASS : VERDICT_FAIL;
}

} // namespace

int32_t ParamDecimal(const char* value) {
    if (!value) return 0;
    const long long n = std::strtoll(value, nullptr, 10);
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(n);
}

unsigned ParseProductInfoText(const char* text, char (&productType)[32], char (&version)[64],
                              int32_t& group) {
    std::memset(productType, 0, sizeof productType);
    std::memset(version, 0, sizeof version);
    group = 0;
    unsigned cut = 0;
    ParamTextReader reader(text, 512);
    const char* key;
    const char* value;
    while (reader.Next(key, value)) {
        // The last item of a key decides, as it decides the field's text.
        if (KeyMatches(key, "ProductType"))
            cut = CopyGbkBounded(productType, sizeof productType, value) < std::strlen(value)
                      ? cut | INFO_PRODUCT_TYPE_CUT
                      : cut & ~INFO_PRODUCT_TYPE_CUT;
        else if (KeyMatches(key, "Version"))
            cut = CopyGbkBounded(version, sizeof version, value) < std::strlen(value)
                      ? cut | INFO_VERSION_CUT
                      : cut & ~INFO_VERSION_CUT;
        else if (KeyMatches(key, "ORVGROUP"))
            group = ParamDecimal(value);
    }
    return cut;
}

void ParseAdcText(const char* text, int32_t& adcH, int32_t& adcL, int32_t& adcR) {
    ParamTextReader reader(text, 256);
    const char* key;
    const char* value;
    while (reader.Next(key, value)) {
        if (KeyMatches(key, "adcHValue"))
            adcH = ParamDecimal(value);
        else if (KeyMatches(key, "adcRValue"))
            adcR = ParamDecimal(value);
        else if (KeyMatches(key, "adcLValue"))
            adcL = ParamDecimal(value);
    }
}

void EvaluateVerdicts(const StatusInputs& in, int (&status)[STATUS_COUNT]) {
    if (in.bInfoReceived) {
        status[STATUS_PRODUCT_TYPE] =
            !(in.nCut & INFO_PRODUCT_TYPE_CUT) &&
                    std::strcmp(OrEmpty(in.szProductType), OrEmpty(in.szExpProductType)) == 0
                ? VERDICT_PASS
                : VERDICT_FAIL;
        status[STATUS_VERSION] = (in.nCut & INFO_VERSION_CUT)
                                     ? VERDICT_FAIL
                                     : VersionVerdict(OrEmpty(in.szVersion), OrEmpty(in.szExpVersion));
        const char* group = OrEmpty(in.szExpGroup);
        status[STATUS_GROUP] = (std::strlen(group) == 1 && group[0] == static_cast<char>(in.nGroup & 0xFF))
                                   ? VERDICT_PASS
                                   : VERDICT_FAIL;
    } else {
        for (int& s : status)
            s = VERDICT_UNKNOWN;
    }

    if (*OrEmpty(in.szExpSsid) != '\0') {
        const char* least = OrEmpty(in.szExpQuality);
        status[STATUS_WIFI_QUALITY] =
            (*least != '\0' && in.nSsidQuality >= ParamDecimal(least)) ? VERDICT_PASS : VERDICT_FAIL;
    }

    if (in.nAdcR != 0)
        status[STATUS_ADC] = in.nAdcR >= in.nAdcH ? VERDICT_PASS : VERDICT_FAIL;
    else
        status[STATUS_ADC] = VERDICT_UNKNOWN;
}
