#include "support/fixtures.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

struct ShellRun {
    int status;
    std::string output;
};

// Runs a shell command line with tamblewick-reg as $REG; stdin is not a terminal.
ShellRun Shell(const std::string& script) {
    tw::test::WriteFile("run.sh", "REG='" + (tw::test::BinDir() / "tamblewick-reg").string() +
                                      "'\n" + script + "\n");
    FILE* pipe = popen("bash run.sh </dev/null 2>&1", "r");
    std::string output;
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(RegTool, AddQueryDelete) {
    EXPECT_EQ(
        Shell(R"($REG add 'HKLM\Software\Tamblewick' /v 'Last View' /t REG_DWORD /d 0x2)").status,
        0);
    EXPECT_EQ(
        Shell(R"($REG add 'HKEY_LOCAL_MACHINE\Software\Tamblewick' /v Folder /d '/a b/')").status,
        0);
    EXPECT_EQ(Shell(R"($REG add 'HKLM\Software\Tamblewick\WindowPos')").status, 0);

    const ShellRun all = Shell(R"($REG query 'hklm\software\tamblewick')");
    EXPECT_EQ(all.status, 0);
    EXPECT_NE(all.output.find("    Last View    REG_DWORD    0x2\n"), std::string::npos)
        << all.output;
    EXPECT_NE(all.output.find("    Folder    REG_SZ    /a b/\n"), std::string::npos);
    EXPECT_NE(all.output.find("\\WindowPos\n"), std::string::npos);

    const ShellRun one = Shell(R"($REG query 'HKLM\Software\Tamblewick' /v folder)");
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.output.find("Last View"), std::string::npos);

    EXPECT_EQ(Shell(R"($REG add 'HKLM\Software\Tamblewick' /v Folder /d other)").status, 1)
        << "replacing without /f and without a terminal is refused";
    EXPECT_EQ(Shell(R"($REG delete 'HKLM\Software\Tamblewick' /v Folder /f)").status, 0);
    EXPECT_EQ(Shell(R"($REG query 'HKLM\Software\Tamblewick' /v Folder)").status, 1);
    EXPECT_EQ(Shell(R"($REG delete 'HKLM\Software\Tamblewick' /f)").status, 0);
    EXPECT_EQ(Shell(R"($REG query 'HKLM\Software\Tamblewick')").status, 1);
}

TEST(RegTool, BadUsageExitsWithTwo) {
    const char* const lines[] = {
        "$REG",
        "$REG frobnicate 'HKLM\\x'",
        "$REG query 'HKCU\\Software'",
        "$REG add 'HKLM\\x' /v n /t REG_QWORD /d 1",
        "$REG add 'HKLM\\x' /v n /t REG_DWORD /d 12abc",
        "$REG add 'HKLM\\x' /v n /t REG_DWORD /d 4294967296",
        "$REG query 'HKLM\\x' /v",
        "$REG delete HKLM /f",
    };
    for (const char* line : lines) {
        const ShellRun run = Shell(line);
        EXPECT_EQ(run.status, 2) << line << "\n" << run.output;
        EXPECT_NE(run.output.find("ERROR"), std::string::npos) << line;
    }
}

TEST(RegTool, TwoProcessesWritingOneKeyAtOnceLoseNothing) {
    const ShellRun run = Shell(R"(
        writer() { for i in $(seq 1 60); do $REG add 'HKLM\Software\Race' /v $1$i /t REG_DWORD /d $i /f >/dev/null || echo FAIL; done; }
        writer a & writer b & wait
        $REG query 'HKLM\Software\Race' | grep -c REG_DWORD)");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "120\n");
}

} // namespace
