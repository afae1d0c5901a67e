// SPDX-License-Identifier: GPL-3.0-or-later
// The four built-in mortality tables, their names, and the lookup of a table by its code.
#pragma once

#include <span>
#include <string>
#include <vector>

constexpr int kTableCount = 4;   // built-in table codes 1..4
constexpr int kTableSlots = 110; // ages 0..109

// l(x) of built-in table code k (1..4) at age x is g_fLivingTables[k - 1][x]; radix 100000.
extern const float g_fLivingTables[kTableCount][kTableSlots];

// A mortality table: its names and l(x), the number living at exact age x, for the ages
// firstAge..lastAge.
struct MortalityTable {
    std::string journalName; // as the report prints it
    std::string dialogName;  // as the dialog lists it
    std::string commandName; // as tabulon-cli accepts it; empty for an imported table
    int firstAge;
    int lastAge;
    std::vector<double> living; // l(x) is living[x], for x = firstAge..lastAge
};

// The tables are addressed by the record's m_nTable code, 1..MortalityTableCount(), which
// is the dialog's list index + 1: the built-in tables are codes 1..kTableCount, imported
// tables follow in the order they were added.
int MortalityTableCount();
const MortalityTable& MortalityTableOf(int code);

// Adds an imported table after the others and returns its code. living holds l(x) for the
// ages firstAge..lastAge (0 <= firstAge <= lastAge <= 150). Control bytes of the name
// become blanks.
int AddMortalityTable(const std::string& name, int firstAge, std::span<const double> living);
// Removes the imported table of code (> kTableCount); the tables after it move up a code.
void RemoveMortalityTable(int code);
