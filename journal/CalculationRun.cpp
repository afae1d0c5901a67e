// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabulonDoc.h"

#include "MortalityTables.h"
#include "ReportLine.h"

using report::AppendLine;

void CTabulonDoc::RunCalculation(PolicyKind kind, const PolicyDialogData& values) {
    const std::size_t from = m_lines.GetCount();
    CopyToRecord(values, *this);
    m_lastProduct.reset();
    // The whole calculation first; the sections are then written from the record, the
    // net-income rows from the copies kept as they were computed.
    m_netIncomeRows.clear();
    Calculate(kind, [this](const NetIncomeRow& row) { m_netIncomeRows.push_back(row); });

    AppendLine(m_lines, " ");
    AppendLine(m_lines, "*** The following calculations are based on the %s mortality table.",
               MortalityTableOf(m_nTable).journalName.c_str());
    if (m_bMortality == 1)
        AppendMortalitySection();
    AppendSummarySection(kind);
    if (m_bNetIncome == 1)
        AppendNetIncomeSection(kind);

    UpdateAllViews(DocumentEvent::CalculationAppended(from, m_lines.GetCount() - from));
    SetModifiedFlag(true);
}

void CTabulonDoc::AppendMortalitySection() {
    AppendLine(m_lines, " ");
    AppendLine(m_lines, "         Mortality table and probability distribution              ");
    AppendLine(m_lines, "         of age at death for %d year-old applicant                 ",
               m_nAge);
    AppendLine(m_lines, "      Number  Deaths  Death               Cumulative   Probability ");
    AppendLine(m_lines, " Age  living  in year  rate  Probability  probability  of survival ");
    AppendLine(m_lines, "----- ------- ------- ------ -----------  -----------  ----------- ");
    for (int x = m_nAge; x < m_nAges; ++x) {
        const double deaths = m_dLiving[x] - m_dLiving[x + 1];
        AppendLine(m_lines, "%5d %7.0f %7.0f %6.2f %11.4f %12.4f %12.4f", x, m_dLiving[x], deaths,
                   deaths / m_dLiving[x], m_dDeathProb[x], m_dCumDeathProb[x], m_dSurvivalProb[x]);
    }
    AppendLine(m_lines, " ");
    AppendLine(m_lines, "Summary life statistics for applicant aged %d years", m_nAge);
    AppendLine(m_lines, "      based on %s mortality table:",
               MortalityTableOf(m_nTable).journalName.c_str());
    AppendLine(m_lines, "Age at death    ... Mean=%7.2f Standard deviation=%7.2f ",
               m_dMeanAgeAtDeath, m_dSdAgeAtDeath);
    AppendLine(m_lines, "Life expectancy ... Mean=%7.2f Standard deviation=%7.2f ", m_dMeanLifetime,
               m_dSdLifetime);
}

void CTabulonDoc::AppendSummarySection(PolicyKind kind) {
    const bool insurance = kind == PolicyKind::Insurance;
    AppendLine(m_lines, " ");
    AppendLine(m_lines, "                                            Policy       Annual       ");
    AppendLine(m_lines,
               insurance ? "Policy type           Applicant's age       amount       premium   "
                         : "Policy type           Applicant's age       amount       payment   ");
    AppendLine(m_lines, "-------------------- ----------------- ---------------- ----------  ");
    const PolicyInfo& policy = PolicyOf(kind, m_nPolicyType);
    AppendLine(m_lines, "%20s        %3d        %15.2f %10.2f ", policy.journalName, m_nAge,
               m_dAmount, m_dPremium);
    if (policy.usesTerm)
        AppendLine(m_lines, "(Term = %d years)  ", m_nTerm);
    AppendLine(m_lines, "Discount rate = %.2f percent. ", m_dRate);
}

void CTabulonDoc::AppendNetIncomeSection(PolicyKind kind) {
    // Term life's rows carry no trailing blank; every other policy's rows carry one.
    const bool trailingBlank = PolicyOf(kind, m_nPolicyType).policy != Policy::TermLife;
    AppendLine(m_lines, " ");
    AppendLine(m_lines, "   Age                  N e t  I n c o m e     ");
    AppendLine(m_lines, " at death Probability Undiscounted Discounted  ");
    AppendLine(m_lines, "--------- ----------- ------------ ----------  ");
    for (const NetIncomeRow& row : m_netIncomeRows) {
        if (!row.valuesShown)
            AppendLine(m_lines, "%8d+ %11.4f", row.age, row.probability);
        else if (row.survivors)
            AppendLine(m_lines,
                       trailingBlank ? "%8d+ %11.4f %12.2f %10.2f " : "%8d+ %11.4f %12.2f %10.2f",
                       row.age, row.probability, row.undiscounted, row.discounted);
        else
            AppendLine(m_lines,
                       trailingBlank ? "%9d %11.4f %12.2f %10.2f " : "%9d %11.4f %12.2f %10.2f",
                       row.age, row.probability, row.undiscounted, row.discounted);
    }
    AppendLine(m_lines, "--------- ----------- ------------ ----------  ");
    // The absolute value keeps a tiny negative EDNI from printing a minus sign.
    AppendLine(m_lines, "               1.0000        EDNI= %10.2f ", std::fabs(m_dRunningSum));
}
