// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs, per-age working columns and results of the last accepted calculation.
#pragma once

#include "NetIncome.h"
#include "PolicyCatalogue.h"

#include <functional>
#include <string>

// Every per-age column is indexed by age x (the year of life from exact age x to x + 1):
// the table's ages m_nFirstAge..m_nAges - 1 are in use (0..106 for a built-in table), and
// m_nAges holds the closing zero of m_dLiving. Tables hold ages 0..150, so 152 slots take
// every table. A calculation for an applicant aged a writes entries a..m_nAges - 1;
// entries below a keep what an earlier calculation left there.
constexpr int kAgeSlots = 152;

// All routines take no arguments and return nothing: they read the inputs a calculation
// run has placed here and leave their results here. They never fail and report nothing;
// arithmetic is plain IEEE double, so a zero divisor yields inf or nan in the results.
struct CCalculationRecord {
    // Inputs, copied from the accepted dialog.
    int m_nAge = 60;         // applicant's age in completed years
    int m_nTerm = 5;         // term of the policy in years
    int m_nTable = 0;        // mortality table code, 1..MortalityTableCount()
    int m_nPolicyType = 0;   // policy code within its kind, 1..PolicyCount(kind)
    int m_nMode = 1;         // 1 after the insurance command, 2 after the pension command
    int m_bNetIncome = 0;    // 1: the net-income distribution is wanted
    int m_bMortality = 0;    // 1: the mortality table section is wanted
    float m_fAmount = 10000; // amount typed: policy amount or annual premium/payment
    int m_nInputKind = 0;    // 1: policy amount given, 2: annual premium or payment given
    // The table's name as reports print it, taken when its l(x) is loaded: an imported table
    // removed afterwards (the codes after it move up) leaves the calculation its own name.
    std::string m_tableName;

    double m_dLiving[kAgeSlots] = {}; // l(x), number living at exact age x
    int m_nAges = 107;                // the table's last age + 1: ages in use end at m_nAges - 1
    int m_nFirstAge = 0;              // the table's first age, the first loaded
    int m_nEndAge = 0;                // min(m_nAge + m_nTerm, m_nAges): first age after the term
    int m_bTermInTable = 0;           // 1 when m_nAge + m_nTerm <= m_nAges

    double m_dDeathProb[kAgeSlots] = {};    // q(x): probability of dying at age x
    double m_dCumDeathProb[kAgeSlots] = {}; // C(x): probability of dying at age x or earlier
    double m_dSurvivalProb[kAgeSlots] = {}; // p(x) = 1 - C(x): alive at exact age x + 1
    double m_dAnnuity[kAgeSlots] = {};  // insurance: value of the premiums paid up to death at x
    double m_dDiscount[kAgeSlots] = {}; // insurance: discount factor of the amount paid for
                                        // death at x; pension: value of the payments made

    double m_dRate = 5.0;  // discount interest rate in percent
    double m_dAmount = 0;  // policy amount
    double m_dPremium = 0; // annual premium (insurance) or annual payment (pension)

    double m_dMeanAgeAtDeath = 0;
    double m_dVarAgeAtDeath = 0;
    double m_dSdAgeAtDeath = 0;
    double m_dMeanLifetime = 0; // life expectancy; death is taken at mid-year
    double m_dVarLifetime = 0;
    double m_dSdLifetime = 0;
    double m_dRunningSum = 0; // cumulative q while the statistics run; EDNI in the net-income table

    double m_dUnitAnnualPV = 0;   // expected present value of an annual premium/payment of 1
    double m_dUnitAmountPV = 0;   // expected present value of a policy amount of 1
    double m_dAnnuitySum = 0;     // running sum of discount powers while pricing
    double m_dDiscountFactor = 0; // v = 100 / (m_dRate + 100)

    // One whole calculation from the inputs in the record, for a policy of the given kind:
    // LoadLivingColumn, ComputeLifeStatistics, ComputeTermQuantities, PricePolicy,
    // SolveAmountAndPremium and, when m_bNetIncome is 1, ComputeNetIncome (each row to
    // onNetIncomeRow when set). Every value a report prints is then in the record, and no
    // step overwrites one that an earlier step printed: only m_dRunningSum changes meaning,
    // from the sum of the death probabilities to the EDNI of the net income.
    void Calculate(PolicyKind kind,
                   const std::function<void(const NetIncomeRow&)>& onNetIncomeRow = {});

    // Takes the ages of table m_nTable into m_nFirstAge and m_nAges, copies its l(x) into
    // m_dLiving and closes it with 0, and its name into m_tableName.
    void LoadLivingColumn();
    // Distribution of the age at death from m_nAge on, its moments, and cleared pricing columns.
    void ComputeLifeStatistics();
    // m_dDiscountFactor, m_nEndAge and m_bTermInTable from the rate, age and term.
    void ComputeTermQuantities();

    // Insurance: premiums yearly in advance, the amount at the end of the year of death.
    void PriceWholeLife();
    void PriceTermLife();
    void PriceEndowment();
    // Pensions bought with a single amount: payments at the end of each year survived.
    void PriceLifePension();
    void PriceTermAnnuity();

    // Calls the pricing routine of m_nPolicyType: insurance 1..3 or, with pension, 1..2.
    void PricePolicy(bool pension);
    // m_dAmount and m_dPremium from the typed amount and the two unit values.
    void SolveAmountAndPremium();

    // The net income by age at death for the solved amount and premium, in increasing age,
    // survivors last; each row goes to onRow (when set). Leaves the expected discounted
    // net income (EDNI) in m_dRunningSum. pension: the record holds a pension's pricing.
    void ComputeNetIncome(bool pension, const std::function<void(const NetIncomeRow&)>& onRow);

private:
    void ComputeInsuranceNetIncome(const std::function<void(const NetIncomeRow&)>& onRow);
    void ComputePensionNetIncome(const std::function<void(const NetIncomeRow&)>& onRow);
    void AccumulateInsurance(int endAge);
    void PriceInsuranceTerm(bool endowment);
    void PricePension(int lastAge, bool terminal);
};
