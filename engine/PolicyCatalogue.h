// SPDX-License-Identifier: GPL-3.0-or-later
// The two kinds of policy, the five policies with their names and terms, and the limits of
// every input value.
#pragma once

#include <span>

enum class PolicyKind { Insurance, Pension };

enum class Policy { WholeLife, TermLife, Endowment, LifeAnnuity, TermAnnuity };

// One policy as the record, the report, the dialogs and the command line know it.
struct PolicyInfo {
    Policy policy;
    PolicyKind kind;
    int code;                // the record's m_nPolicyType: 1-based within the kind, in list order
    const char* journalName; // as the report prints it
    const char* dialogName;  // as the dialog lists it
    const char* commandName; // as tabulon-cli accepts it
    bool usesTerm;           // false: covers every age up to the table's end, the term unused
    int minTerm;             // years; a policy with a term needs at least one year
    int maxTerm;             // years
};

// The policies of a kind in list order (entry i has code i + 1).
std::span<const PolicyInfo> PoliciesOf(PolicyKind kind);
int PolicyCount(PolicyKind kind);
// The policy of a kind by its code 1..PolicyCount(kind).
const PolicyInfo& PolicyOf(PolicyKind kind, int code);
// "insurance" or "pension", as tabulon-cli names the kind.
const char* KindCommandName(PolicyKind kind);

// The ranges the dialogs and the command line accept, inclusive at both ends. Policies are
// given as their 0-based list index, as the dialogs hold them.
namespace policy_limits {
constexpr int kMaxAge = 106;       // years
constexpr float kMaxAmount = 1e9f; // checked in single precision
constexpr int kMaxRate = 100;      // whole percent
int PolicyCount(PolicyKind kind);
int MaxTerm(PolicyKind kind);
// Term types (term life, endowment, term annuity) need at least one year; the others use no term.
int MinTerm(PolicyKind kind, int policyIndex);
bool UsesTerm(PolicyKind kind, int policyIndex);
} // namespace policy_limits
