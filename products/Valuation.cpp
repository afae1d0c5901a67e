// SPDX-License-Identifier: GPL-3.0-or-later
#include "Valuation.h"

#include "ProductCheck.h"
#include "ProductFlows.h"

#include <stdexcept>

Valuation ValueProduct(const TableRegistry& tables, const Life& life, const Basis& basis,
                       const Product& product, bool withPolicyValues) {
    if (const auto fault = FindProductFault(tables, life, basis, product))
        throw std::invalid_argument(fault->reason);
    return ValueFlows(SingleLifeFlows(tables, life, basis, product, false), product,
                      withPolicyValues);
}
