// SPDX-License-Identifier: GPL-3.0-or-later
// The published tables (SULT, ILT) read through the table-file reader into a registry of the
// product engine, and short ways to write products in test tables.
#pragma once

#include "FaultTestSupport.h"
#include "Product.h"
#include "PublishedTables.h"
#include "TableFile.h"
#include "TableRegistry.h"

#include <string>

namespace product_support {

// The built-in tables 1..4, then SULT and ILT as they read back from their CSV files.
struct PublishedRegistry {
    TableRegistry tables;
    int sult = 0;
    int ilt = 0;
};

inline const PublishedRegistry& Published() {
    static const PublishedRegistry registry = [] {
        PublishedRegistry made;
        fault_support::ScratchFolder scratch;
        published_tables::WriteTableFiles(scratch.Path());
        made.sult = made.tables.Add(ReadMortalityTableFile(scratch.Path("SULT.csv")));
        made.ilt = made.tables.Add(ReadMortalityTableFile(scratch.Path("ILT.csv")));
        return made;
    }();
    return registry;
}

inline BenefitLeg Leg(LegKind kind, double amount = 1.0, int term = 0, int deferral = 0,
                      int frequency = 1, Timing timing = Timing::Advance) {
    BenefitLeg leg;
    leg.kind = kind;
    leg.amount = amount;
    leg.term = term;
    leg.deferral = deferral;
    leg.frequency = frequency;
    leg.timing = timing;
    return leg;
}

inline BenefitLeg Annuity(int term = 0, int frequency = 1, Timing timing = Timing::Advance,
                          int deferral = 0, double amount = 1.0) {
    return Leg(LegKind::Annuity, amount, term, deferral, frequency, timing);
}

// A single-premium product of the legs.
inline Product Of(std::initializer_list<BenefitLeg> legs) {
    Product product;
    product.benefits = legs;
    return product;
}

// The product with level premiums for `years` (0: for life), paid `frequency` times a year.
inline Product WithPremiums(Product product, int years, int frequency = 1) {
    product.premium.term = years;
    product.premium.forLife = years == 0;
    product.premium.frequency = frequency;
    return product;
}

} // namespace product_support
