// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableFormatError.h"

#include "MessageText.h"

TableFormatError::TableFormatError(std::string fileName, std::string problem)
    : std::runtime_error("Cannot use \"" + ShownInMessage(fileName) +
                         "\" as a mortality table: " + problem + "."),
      m_fileName(std::move(fileName)), m_problem(std::move(problem)) {}
