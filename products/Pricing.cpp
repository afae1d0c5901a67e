// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pricing.h"

#include "ProductCheck.h"

#include <stdexcept>

PricedProduct PriceProduct(const TableRegistry& tables, const Life& life,
                           const std::optional<SecondLife>& second, const Basis& basis,
                           const Product& product, const Expenses& expenses,
                           bool withPolicyValues) {
    const Life governing = second ? GoverningLife(tables, life, *second) : life;
    if (second) {
        // The first life's table and age, with a leg any life can have.
        Product plain;
        plain.benefits.push_back(BenefitLeg{});
        if (const auto fault = FindProductFault(tables, life, basis, plain))
            throw std::invalid_argument(fault->reason);
        if (const auto fault = FindTwoLifeFault(tables, life, *second, product))
            throw std::invalid_argument(fault->reason);
    }
    if (const auto fault = FindProductFault(tables, governing, basis, product))
        throw std::invalid_argument(fault->reason);
    if (const auto fault = FindExpensesFault(expenses))
        throw std::invalid_argument(*fault);
    const ProductFlows flows = second ? TwoLifeFlows(tables, life, *second, basis, product)
                                      : SingleLifeFlows(tables, life, basis, product, true);
    PricedProduct priced;
    priced.net = ValueFlows(flows, product, withPolicyValues);
    priced.gross = ValueGross(flows, product, expenses, priced.net, withPolicyValues);
    return priced;
}
