// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonReport.h"

#include "MortalityTables.h"

#include <cmath>
#include <cstdio>

namespace {

// The length of the well-formed UTF-8 sequence that starts text, or 0 when its first byte
// starts none: overlong forms, surrogates and code points past U+10FFFF are not well formed.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

class JsonObject {
public:
    void Add(const char* key, double value) {
        char text[40];
        if (value == 0)
            value = 0.0; // never "-0"
        if (std::isfinite(value))
            std::snprintf(text, sizeof text, "%.17g", value);
        else
            std::snprintf(text, sizeof text, "null");
        AddRaw(key, text);
    }
    void Add(const char* key, int value) { AddRaw(key, std::to_string(value)); }
    void Add(const char* key, const char* value) { AddRaw(key, JsonString(value)); }
    std::string Close() const { return "{" + m_body + "}"; }

private:
    void AddRaw(const char* key, const std::string& value) {
        if (!m_body.empty())
            m_body += ",";
        m_body += std::string("\"") + key + "\":" + value;
    }
    std::string m_body;
};

} // namespace

std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string json = "\"";
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text.front());
        std::size_t length = Utf8SequenceLength(text);
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += text.front();
        } else if (byte < 0x20 || length == 0) {
            json += "\\u00";
            json += kHex[byte >> 4];
            json += kHex[byte & 0xF];
            length = 1;
        } else {
            json.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return json + '"';
}

std::string JsonReport(const CTabulonDoc& doc, PolicyKind kind) {
    const bool insurance = kind == PolicyKind::Insurance;
    JsonObject json;
    json.Add("kind", KindCommandName(kind));
    json.Add("policy", doc.m_nPolicyType);
    json.Add("policy_name", PolicyOf(kind, doc.m_nPolicyType).journalName);
    json.Add("table", doc.m_nTable);
    json.Add("table_name", MortalityTableOf(doc.m_nTable).journalName.c_str());
    json.Add("age", doc.m_nAge);
    json.Add("term", doc.m_nTerm);
    json.Add("rate", doc.m_dRate);
    json.Add("given", doc.m_nInputKind == 1 ? "amount" : (insurance ? "premium" : "payment"));
    json.Add("value_given", static_cast<double>(doc.m_fAmount));
    json.Add("unit_annual_pv", doc.m_dUnitAnnualPV);
    json.Add("unit_amount_pv", doc.m_dUnitAmountPV);
    json.Add("amount", doc.m_dAmount);
    json.Add(insurance ? "premium" : "payment", doc.m_dPremium);
    json.Add("mean_age_at_death", doc.m_dMeanAgeAtDeath);
    json.Add("var_age_at_death", doc.m_dVarAgeAtDeath);
    json.Add("sd_age_at_death", doc.m_dSdAgeAtDeath);
    json.Add("mean_lifetime", doc.m_dMeanLifetime);
    json.Add("var_lifetime", doc.m_dVarLifetime);
    json.Add("sd_lifetime", doc.m_dSdLifetime);
    json.Add("edni", doc.m_dRunningSum);
    return json.Close();
}
