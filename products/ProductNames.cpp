// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductNames.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<LegKind, const char*>, 5> kKinds = {{
    {LegKind::WholeLife, "whole-life"},
    {LegKind::Term, "term"},
    {LegKind::Endowment, "endowment"},
    {LegKind::PureEndowment, "pure-endowment"},
    {LegKind::Annuity, "annuity"},
}};
constexpr std::array<std::pair<Timing, const char*>, 2> kTimings = {{
    {Timing::Advance, "advance"},
    {Timing::Arrears, "arrears"},
}};
constexpr std::array<std::pair<FractionalAge, const char*>, 3> kConventions = {{
    {FractionalAge::Udd, "udd"},
    {FractionalAge::Woolhouse2, "woolhouse2"},
    {FractionalAge::Woolhouse3, "woolhouse3"},
}};

template <class Value, std::size_t N>
const char* NameIn(const std::array<std::pair<Value, const char*>, N>& names, Value value) {
    for (const auto& [candidate, name] : names)
        if (candidate == value)
            return name;
    return "?";
}

template <class Value, std::size_t N>
std::optional<Value> ValueIn(const std::array<std::pair<Value, const char*>, N>& names,
                             std::string_view text) {
    for (const auto& [value, name] : names)
        if (text == name)
            return value;
    return std::nullopt;
}

} // namespace

const char* LegKindName(LegKind kind) {
    return NameIn(kKinds, kind);
}
const char* TimingName(Timing timing) {
    return NameIn(kTimings, timing);
}
const char* FractionalName(FractionalAge fractional) {
    return NameIn(kConventions, fractional);
}
std::optional<LegKind> LegKindNamed(std::string_view name) {
    return ValueIn(kKinds, name);
}
std::optional<Timing> TimingNamed(std::string_view name) {
    return ValueIn(kTimings, name);
}
std::optional<FractionalAge> FractionalNamed(std::string_view name) {
    return ValueIn(kConventions, name);
}
