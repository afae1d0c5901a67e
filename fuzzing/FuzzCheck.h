// SPDX-License-Identifier: GPL-3.0-or-later
// What every fuzz target shares: a check that stops the run with a message, and a
// scratch folder for files.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the run (libFuzzer keeps the input as a crash) when a property fails.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n  ", __FILE__, __LINE__, #condition);   \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// A private folder for this process's files, in memory where the machine offers it,
// removed with its files when the process ends.
const std::string& ScratchFolder();
