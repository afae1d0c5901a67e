// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceCommand.h"

#include "CliOptions.h"
#include "FileDescriptor.h"
#include "FileException.h"
#include "InputField.h"
#include "PriceBatch.h"
#include "PriceOptions.h"
#include "PriceReport.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <thread>

const char* const kPriceUsage =
    "Usage: tabulon-cli price --age X [--table T | --table-file F] [--rate R]\n"
    "           --benefit KIND[,amount=A][,term=N][,deferral=U][,timing=T][,frequency=M]...\n"
    "           [--premium-term H|life] [--premium-frequency M] [--premium P]\n"
    "           [--fractional udd|woolhouse2|woolhouse3] [--select] [--policy-values]\n"
    "           [--json]\n"
    "           [--second-age Y [--second-table T | --second-table-file F]\n"
    "            [--lives joint|last-survivor|reversionary] [--premium-status last-survivor]]\n"
    "           [--expenses initial=X,initial-premium=P,renewal=Y,renewal-premium=Q,claim=Z]\n"
    "       tabulon-cli price --batch FILE.csv|- [--jobs N]\n"
    "Values a product of one or more benefit legs on a life: each leg's expected present\n"
    "value (EPV), the premium by the equivalence principle, the spread of the present values\n"
    "and, with --policy-values, the net policy value at each duration.\n"
    "\n"
    "  --age X               age at issue in years, within the table's ages (required)\n"
    "  --table T             1..4 or national-male, national-female, regional-male,\n"
    "                        regional-female (default 1)\n"
    "  --table-file F        the mortality table in the CSV or XTbML file F instead\n"
    "  --rate R              interest rate in percent, 0..100, up to 4 decimals (default 5)\n"
    "  --benefit LEG         a benefit leg (repeat for more): KIND is whole-life, term,\n"
    "                        endowment, pure-endowment or annuity; amount (default 1; an\n"
    "                        annuity's amount a year), term in years (needed by term,\n"
    "                        endowment and pure-endowment; an annuity without one is for\n"
    "                        life), deferral in years (default 0), timing advance or arrears\n"
    "                        (annuities; default advance), frequency 1, 2, 4 or 12 payments\n"
    "                        a year (default 1; death benefits at the end of the 1/m-year)\n"
    "  --premium-term H      years of level premiums, 0 for a single premium (default 0),\n"
    "                        or life: for as long as the life is alive and the product runs\n"
    "  --premium-frequency M premiums 1, 2, 4 or 12 times a year, in advance (default 1)\n"
    "  --premium P           the annual premium of an existing policy (default: solved)\n"
    "  --fractional C        fractional ages: udd (default), woolhouse2 or woolhouse3\n"
    "  --select              the life is selected at the issue age X: priced as [X]+t on\n"
    "                        the table's select rates (a select-and-ultimate table file);\n"
    "                        without it such a table gives its ultimate rates\n"
    "  --second-age Y        a second life aged Y (independent of the first)\n"
    "  --second-table T      its table, as --table (default: the first life's table)\n"
    "  --second-table-file F its table from the file F instead\n"
    "  --lives S             joint (default): while both are alive, or on the first death;\n"
    "                        last-survivor: while either is alive, or on the second death;\n"
    "                        reversionary: annuities to the second life after the first\n"
    "                        life's death (no death benefits)\n"
    "  --premium-status S    joint (default): premiums while both are alive; last-survivor:\n"
    "                        while either is\n"
    "  --expenses E          initial=X at issue, initial-premium=P percent of the first\n"
    "                        year's premiums, renewal=Y at each policy year's start from the\n"
    "                        second, renewal-premium=Q percent of later premiums, claim=Z\n"
    "                        with each death benefit (each default 0); adds the gross premium\n"
    "                        and gross policy values\n"
    "  --policy-values       the net (and gross) policy value at every duration\n"
    "  --json                one JSON object instead of the report lines\n"
    "  --batch FILE|-        one product per CSV row (- reads standard input), a header row\n"
    "                        naming the columns: age, table (1..4, a name or a table file),\n"
    "                        rate, benefit (legs separated by ;), premium-term,\n"
    "                        premium-frequency, premium, fractional, policy-values and\n"
    "                        select (yes or no), second-age, second-table, lives,\n"
    "                        premium-status, expenses (quoted); one JSON object a line, in\n"
    "                        input order\n"
    "  --jobs N              with --batch: price rows on N threads (default: one for each\n"
    "                        processor); the output is the same\n"
    "\n"
    "Exit status: 0 success, 1 a file could not be read or written, 2 bad arguments\n"
    "(for --batch: 2 when a row was refused; the other rows are still priced).\n";

namespace {

struct PriceArguments {
    PriceTexts texts;
    bool json = false;
    bool help = false;
    std::optional<std::string> batch;
    std::optional<std::string> jobs;
};

std::string ParsePriceArguments(const std::vector<std::string>& args, PriceArguments& parsed) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string option = args[i];
        std::optional<std::string> value;
        const std::size_t equals = option.find('=');
        if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        const auto flag = [&](bool& target) -> std::string {
            if (value)
                return option + ": takes no value.";
            target = true;
            return {};
        };
        const auto take = [&](std::optional<std::string>& target) -> std::string {
            if (!value) {
                if (i + 1 >= args.size())
                    return option + " needs a value; none was given.";
                if (args[i + 1].rfind("--", 0) == 0)
                    return option + " needs a value, not the option " + ShownValue(args[i + 1]) +
                           " (a value that starts with -- is given as " + option + "=VALUE).";
                value = args[++i];
            }
            target = *value;
            return {};
        };
        PriceTexts& texts = parsed.texts;
        std::string failure;
        if (option == "--help" || option == "-h") {
            parsed.help = true;
            return {};
        } else if (option == "--json") {
            failure = flag(parsed.json);
        } else if (option == "--policy-values") {
            failure = flag(texts.policyValues);
        } else if (option == "--select") {
            failure = flag(texts.select);
        } else if (option == "--benefit") {
            std::optional<std::string> leg;
            failure = take(leg);
            if (failure.empty())
                texts.benefits.push_back(*leg);
        } else {
            const std::pair<const char*, std::optional<std::string>*> valued[] = {
                {"--age", &texts.age},
                {"--table", &texts.table},
                {"--table-file", &texts.tableFile},
                {"--rate", &texts.rate},
                {"--premium-term", &texts.premiumTerm},
                {"--premium-frequency", &texts.premiumFrequency},
                {"--premium", &texts.premium},
                {"--fractional", &texts.fractional},
                {"--second-age", &texts.secondAge},
                {"--second-table", &texts.secondTable},
                {"--second-table-file", &texts.secondTableFile},
                {"--lives", &texts.lives},
                {"--premium-status", &texts.premiumStatus},
                {"--expenses", &texts.expenses},
                {"--batch", &parsed.batch},
                {"--jobs", &parsed.jobs},
            };
            const auto found =
                std::find_if(std::begin(valued), std::end(valued),
                             [&](const auto& entry) { return option == entry.first; });
            if (found == std::end(valued))
                return "unknown option " + ShownValue(option) + " for price (see price --help).";
            failure = take(*found->second);
        }
        if (!failure.empty())
            return failure;
    }
    if (parsed.batch && (parsed.json || parsed.texts.age || !parsed.texts.benefits.empty()))
        return "--batch: the products come from the file's rows; give --batch alone.";
    if (parsed.jobs && !parsed.batch)
        return "--jobs: only --batch prices on several threads.";
    return {};
}

} // namespace

int RunPriceCommand(const std::vector<std::string>& args) {
    PriceArguments parsed;
    std::string failure = ParsePriceArguments(args, parsed);
    if (!failure.empty()) {
        std::cerr << "tabulon-cli: " << failure << '\n';
        return 2;
    }
    if (parsed.help) {
        std::cout << kPriceUsage << std::flush;
        return std::cout ? 0 : 1;
    }
    if (parsed.batch) {
        int jobs = 1;
        if (const std::string failure = ParseJobs(parsed.jobs, jobs); !failure.empty()) {
            std::cerr << "tabulon-cli: " << failure << '\n';
            return 2;
        }
        return RunPriceBatch(*parsed.batch, jobs);
    }
    TableRegistry tables;
    PriceInputs inputs;
    try {
        const TableFileLookup readTable = [&tables](const std::string& path, int& id) {
            try {
                id = tables.Add(ReadMortalityTableFile(path));
            } catch (const TableFormatError& error) {
                return std::string(error.what());
            }
            return std::string();
        };
        failure = CheckPriceTexts(parsed.texts, tables, readTable, "--", inputs);
    } catch (const CFileException& error) {
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
    if (!failure.empty()) {
        std::cerr << "tabulon-cli: " << failure << '\n';
        return 2;
    }
    const PricedProduct value = PriceProduct(tables, inputs.life, inputs.second, inputs.basis,
                                             inputs.product, inputs.expenses, inputs.policyValues);
    const std::string out =
        parsed.json ? PriceJson(inputs, value) + "\n" : PriceText(inputs, value);
    if (!WriteAll(STDOUT_FILENO, out.data(), out.size())) {
        std::cerr << "tabulon-cli: cannot write to standard output: " << std::strerror(errno)
                  << '\n';
        return 1;
    }
    return 0;
}
