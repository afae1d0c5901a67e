// SPDX-License-Identifier: GPL-3.0-or-later
#include "PolicyCatalogue.h"

namespace {

constexpr int kInsuranceMaxTerm = 50;
constexpr int kPensionMaxTerm = 100;

constexpr PolicyInfo kInsurancePolicies[] = {
    {Policy::WholeLife, PolicyKind::Insurance, 1, "Whole life insurance", "Whole Life",
     "whole-life", false, 0, kInsuranceMaxTerm},
    {Policy::TermLife, PolicyKind::Insurance, 2, "Term life insurance", "Term Life", "term-life",
     true, 1, kInsuranceMaxTerm},
    {Policy::Endowment, PolicyKind::Insurance, 3, "Endowment", "Term Endowment", "endowment", true,
     1, kInsuranceMaxTerm},
};

constexpr PolicyInfo kPensionPolicies[] = {
    {Policy::LifeAnnuity, PolicyKind::Pension, 1, "Life annuity", "Life Pension", "life-annuity",
     false, 0, kPensionMaxTerm},
    {Policy::TermAnnuity, PolicyKind::Pension, 2, "Term annuity", "Term Annuity", "term-annuity",
     true, 1, kPensionMaxTerm},
};

// The policy at a 0-based list index, or null outside the list (no selection yet).
const PolicyInfo* AtIndex(PolicyKind kind, int policyIndex) {
    const std::span<const PolicyInfo> policies = PoliciesOf(kind);
    if (policyIndex < 0 || policyIndex >= static_cast<int>(policies.size()))
        return nullptr;
    return &policies[policyIndex];
}

} // namespace

std::span<const PolicyInfo> PoliciesOf(PolicyKind kind) {
    if (kind == PolicyKind::Insurance)
        return kInsurancePolicies;
    return kPensionPolicies;
}

int PolicyCount(PolicyKind kind) {
    return static_cast<int>(PoliciesOf(kind).size());
}

const PolicyInfo& PolicyOf(PolicyKind kind, int code) {
    return PoliciesOf(kind)[code - 1];
}

const char* KindCommandName(PolicyKind kind) {
    return kind == PolicyKind::Insurance ? "insurance" : "pension";
}

int policy_limits::PolicyCount(PolicyKind kind) {
    return ::PolicyCount(kind);
}

int policy_limits::MaxTerm(PolicyKind kind) {
    return kind == PolicyKind::Insurance ? kInsuranceMaxTerm : kPensionMaxTerm;
}

// Without a selection the term is checked as for a policy with a term.
bool policy_limits::UsesTerm(PolicyKind kind, int policyIndex) {
    const PolicyInfo* policy = AtIndex(kind, policyIndex);
    return policy ? policy->usesTerm : true;
}

int policy_limits::MinTerm(PolicyKind kind, int policyIndex) {
    const PolicyInfo* policy = AtIndex(kind, policyIndex);
    return policy ? policy->minTerm : 1;
}
