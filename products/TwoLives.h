// SPDX-License-Identifier: GPL-3.0-or-later
// A product on two independent lives, each on its own table: the status that pays the
// benefits and the one that pays the premiums.
#pragma once

#include "Basis.h"
#include "Life.h"
#include "Product.h"
#include "ProductFlows.h"
#include "TableRegistry.h"

#include <optional>
#include <string>
#include <string_view>

enum class LifeStatus {
    Joint,        // while both are alive, or on the first death: tp_xy = tp_x tp_y
    LastSurvivor, // while at least one is alive, or on the second death: tp_x + tp_y - tp_xy
    Reversionary, // annuities to the second life after the first life's death: a_y - a_xy
};

struct SecondLife {
    Life life;
    LifeStatus status = LifeStatus::Joint;
    bool premiumsLastSurvivor = false; // premiums while either is alive; else while both are
};

const char* LifeStatusName(LifeStatus status); // joint, last-survivor, reversionary
std::optional<LifeStatus> LifeStatusNamed(std::string_view name);

struct TwoLifeFault {
    enum class Field { Table, Age, Lives };
    Field field;
    std::string reason;
};

// The first fault of the second life (table, age) or of the status (a reversionary status
// pays no death benefit); none when the two lives can be valued together.
std::optional<TwoLifeFault> FindTwoLifeFault(const TableRegistry& tables, const Life& first,
                                             const SecondLife& second, const Product& product);

// The life whose table ends the status every value runs on: legs and premiums for life run
// to its end, and the product's legs are checked against it (FindProductFault).
Life GoverningLife(const TableRegistry& tables, const Life& first, const SecondLife& second);

// The flows of product on the two lives, to the governing status alive at t: the joint
// status when benefits and premiums are joint, the last-survivor status when either is,
// the second life for a reversionary annuity with joint premiums. Each status's values of a
// year are taken on its own survival (m-thly payments by the basis's convention on it), then
// weighted by its survival over the governing status's. The inputs must be free of faults.
ProductFlows TwoLifeFlows(const TableRegistry& tables, const Life& first, const SecondLife& second,
                          const Basis& basis, const Product& product);
