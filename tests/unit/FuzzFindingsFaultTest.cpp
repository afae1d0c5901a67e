// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs the fuzz targets found failing, kept in tests/data/fuzz/ and replayed here with
// the same properties the targets check. A file named command_line-* holds arguments
// separated by NUL bytes.
#include "CliOptions.h"
#include "FaultTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Findings(const std::string& prefix) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(TABULON_TEST_DATA "/fuzz"))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> SplitAtNul(const std::string& bytes) {
    std::vector<std::string> args;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find('\0', start);
        args.push_back(bytes.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return args;
        start = end + 1;
    }
}

TEST(FuzzFindings, CommandLinesAreRefusedOnOneLineOrGiveValuesInRange) {
    const std::vector<std::string> findings = Findings("command_line-");
    ASSERT_FALSE(findings.empty());
    for (const std::string& path : findings) {
        SCOPED_TRACE(path);
        CliRequest request;
        const std::string message =
            ParseCommandLine(SplitAtNul(fault_support::ReadBytes(path)), request);
        if (message.empty()) {
            EXPECT_GE(request.values.m_nAge, 0);
            EXPECT_LE(request.values.m_nAge, policy_limits::kMaxAge);
            continue;
        }
        EXPECT_EQ(message.find_first_of("\r\n\x1b"), std::string::npos) << message;
    }
}

} // namespace
