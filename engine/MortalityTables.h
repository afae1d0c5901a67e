// The four built-in mortality tables and the journal names of tables and policy types.
#pragma once

constexpr int kTableCount = 4;  // table codes 1..4
constexpr int kTableSlots = 110; // ages 0..109

// l(x) of table code k (1..4) at age x is g_fLivingTables[k - 1][x]; radix 100000.
extern const float g_fLivingTables[kTableCount][kTableSlots];

// Journal name of table code k is g_pszTableName[k - 1].
extern const char* const g_pszTableName[kTableCount];

namespace insurance {
constexpr int kPolicyCount = 3; // 1 whole life, 2 term life, 3 endowment
extern const char* const g_pszPolicyName[kPolicyCount];
} // namespace insurance

namespace pension {
constexpr int kPolicyCount = 2; // 1 life annuity, 2 term annuity
extern const char* const g_pszPolicyName[kPolicyCount];
} // namespace pension
