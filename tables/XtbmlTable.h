// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a mortality table from the Society of Actuaries' XML table format, XTbML.
// A file with one <Table> by age alone gives q by age; a select-and-ultimate file (a
// select <Table> by age and duration beside the ultimate one by age) gives its ultimate
// table, named "<TableName> (ultimate)", and its select rates by issue age and duration
// (a select table that cannot be used leaves selectProblem, and the ultimate table serves
// alone). Values are divided by 10^<ScalingFactor>; empty <Y> cells before the first value
// are skipped, any later empty cell or missing age is an error. Ages from 0 to 150; q in
// [0, 1]. In a select table, empty cells may end an issue age's row of durations.
#pragma once

#include "MortalityTableData.h"

#include <cstddef>
#include <string>
#include <string_view>

// How a large file is read: in a file of at least `from` bytes whose <Values> elements
// hold at least the share minShare of its bytes, the content of each <Values> is parsed a
// piece of about pieceBytes at a time, so that the file's cells are never all in memory as
// nodes; the table read is the same either way. Tests set these to 0 to read small files
// in pieces.
struct XtbmlPieces {
    std::size_t from = std::size_t{1} << 20;
    std::size_t pieceBytes = std::size_t{256} << 10;
    double minShare = 0.5;
};

// Throws TableFormatError naming path and the first problem, with the element (and the
// age) where it lies.
MortalityTableData ParseXtbmlTable(std::string_view bytes, const std::string& path,
                                   const XtbmlPieces& pieces = {});

// The same, reading the XML where it lies in bytes, without a copy (a file's bytes are
// parsed in the buffer they were read into); bytes holds no table text afterwards.
MortalityTableData ParseXtbmlTableInPlace(std::string& bytes, const std::string& path,
                                          const XtbmlPieces& pieces = {});
