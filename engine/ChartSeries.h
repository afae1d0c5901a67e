// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers the charts of a calculation show, taken from the record it left.
#pragma once

#include "CalculationRecord.h"
#include "NetIncome.h"

#include <string>
#include <vector>

// One calculation as three charts: the number living and the probability of death at each
// age from the applicant's age to the last age in use, with the mean and standard deviation
// of the age at death, and the insurer's net income by age at death. Values are copied as
// the record holds them, not-a-number and infinities included: whoever draws them decides
// what to leave out.
struct ChartSeries {
    bool pension = false;   // a pension (life or term annuity) rather than an insurance
    int policyType = 0;     // insurance 1..3, pension 1..2
    bool usesTerm = false;  // term life, endowment and term annuity
    int table = 0;          // mortality table code
    std::string policyName; // as the report names them; "?" where the record holds no valid code
    std::string tableName;
    int age = 0;        // applicant's age in completed years
    int term = 0;       // years
    double rate = 0;    // discount interest rate in percent
    double amount = 0;  // policy amount, solved or given
    double premium = 0; // annual premium or payment, solved or given

    std::vector<int> ages;         // age..m_nAges - 1
    std::vector<double> living;    // l(x), number living at exact age x, per entry of ages
    std::vector<double> deathProb; // q(x), probability of dying at age x, per entry of ages
    double meanAgeAtDeath = 0;     // years
    double sdAgeAtDeath = 0;       // years

    std::vector<NetIncomeRow> netIncome; // the report's rows: death ages, then the survivors
    double edni = 0; // expected discounted net income; zero up to rounding when solved
};

// Whether the record holds an accepted calculation (a run has copied its inputs in).
bool HoldsCalculation(const CCalculationRecord& record);

// The series of the calculation the record holds; the record itself is left untouched
// (the net income is worked out on a copy).
ChartSeries BuildChartSeries(const CCalculationRecord& record);
