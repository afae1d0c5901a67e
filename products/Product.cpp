// SPDX-License-Identifier: GPL-3.0-or-later
#include "Product.h"

#include <algorithm>

int LegEnd(const BenefitLeg& leg, int yearsToTableEnd) {
    const bool forLife =
        leg.kind == LegKind::WholeLife || (leg.kind == LegKind::Annuity && leg.term == 0);
    return forLife ? std::max(yearsToTableEnd, leg.deferral) : leg.deferral + leg.term;
}

int ProductEnd(const Product& product, int yearsToTableEnd) {
    int end = 0;
    for (const BenefitLeg& leg : product.benefits)
        end = std::max(end, LegEnd(leg, yearsToTableEnd));
    return end;
}

int PremiumYears(const Product& product, int yearsToTableEnd) {
    return product.premium.forLife ? ProductEnd(product, yearsToTableEnd) : product.premium.term;
}
