// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceFields.h"

#include "CliOptions.h"
#include "InputField.h"
#include "MortalityTableData.h"
#include "ProductCheck.h"
#include "ProductNames.h"

#include <algorithm>

LegTexts ParseLeg(std::string_view text, const std::string& option) {
    LegTexts parsed;
    const auto refuse = [&](const std::string& use) {
        parsed.failure = option + ": " + ShownValue(text) + " is not accepted; " + use + ".";
        return parsed;
    };
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(TrimBlanks(text.substr(start, comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    const auto kind = LegKindNamed(parts[0]);
    if (!kind)
        return refuse("a benefit starts with whole-life, term, endowment, pure-endowment or "
                      "annuity");
    parsed.leg.kind = *kind;
    std::vector<std::string_view> seen;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::size_t equals = parts[i].find('=');
        const std::string_view key = TrimBlanks(parts[i].substr(0, equals));
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view()
                                           : TrimBlanks(parts[i].substr(equals + 1));
        if (equals == std::string_view::npos ||
            std::find(seen.begin(), seen.end(), key) != seen.end())
            return refuse("give each of amount, term, deferral, timing and frequency at most once, "
                          "as key=value");
        seen.push_back(key);
        int number = 0;
        if (key == "amount") {
            if (!ParseDecimal(value, parsed.leg.amount) || !(parsed.leg.amount >= 0.0))
                return refuse("amount= takes a finite number of 0 or more");
        } else if (key == "term" || key == "deferral") {
            if (!ParseInteger(value, number) || number < (key == "term" ? 1 : 0) ||
                number > kTableLastAllowedAge + 1)
                return refuse(std::string(key) + "= takes whole years, " +
                              (key == "term" ? "1" : "0") + " to 151");
            (key == "term" ? parsed.leg.term : parsed.leg.deferral) = number;
        } else if (key == "timing") {
            const auto timing = TimingNamed(value);
            if (!timing)
                return refuse("timing= takes advance or arrears");
            parsed.leg.timing = *timing;
        } else if (key == "frequency") {
            if (!ParseInteger(value, number) || !IsAllowedFrequency(number))
                return refuse("frequency= takes 1, 2, 4 or 12 payments a year");
            parsed.leg.frequency = number;
        } else {
            return refuse("a benefit's keys are amount, term, deferral, timing and frequency");
        }
    }
    return parsed;
}
