// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonReport.h"

#include "MortalityTables.h"

#include <cmath>
#include <cstdio>

namespace {

class JsonObject {
public:
    void Add(const char* key, double value) {
        char text[40];
        if (std::isfinite(value))
            std::snprintf(text, sizeof text, "%.17g", value);
        else
            std::snprintf(text, sizeof text, "null");
        AddRaw(key, text);
    }
    void Add(const char* key, int value) { AddRaw(key, std::to_string(value)); }
    // A table's name comes from the user's file: quotes and backslashes are escaped so that
    // the object stays valid JSON (the name holds no control bytes).
    void Add(const char* key, const char* value) {
        std::string text = "\"";
        for (const char* c = value; *c != '\0'; ++c) {
            if (*c == '"' || *c == '\\')
                text += '\\';
            text += *c;
        }
        AddRaw(key, text + "\"");
    }
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
