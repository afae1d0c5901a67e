// The four built-in mortality tables, their names, and the lookup of a table by its code.
#pragma once

constexpr int kTableCount = 4;   // built-in table codes 1..4
constexpr int kTableSlots = 110; // ages 0..109

// l(x) of built-in table code k (1..4) at age x is g_fLivingTables[k - 1][x]; radix 100000.
extern const float g_fLivingTables[kTableCount][kTableSlots];

// A mortality table: its names and l(x), the number living at exact age x, for the ages
// firstAge..lastAge.
struct MortalityTable {
    const char* journalName; // as the report prints it
    const char* dialogName;  // as the dialog lists it
    const char* commandName; // as tabulon-cli accepts it
    int firstAge;
    int lastAge;
    const float* living; // l(x) is living[x]
};

// The tables are addressed by the record's m_nTable code, 1..MortalityTableCount(), which
// is the dialog's list index + 1.
int MortalityTableCount();
const MortalityTable& MortalityTableOf(int code);
