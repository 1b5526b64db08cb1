#include "app/batch_options.h"

#include <gtest/gtest.h>

namespace {

using Action = BatchOptions::Action;

struct Case {
    QStringList arguments;
    Action action;
    QString destination;
    QStringList paths;
    QString problem; // a part of the message for BadUsage
};

TEST(BatchOptions, ReadsTheCommandLine) {
    const Case cases[] = {
        {{"--batch", "a.zip", "b.rar"}, Action::Run, "", {"a.zip", "b.rar"}, ""},
        {{"--batch", "--dest", "out", "a.zip"}, Action::Run, "out", {"a.zip"}, ""},
        {{"--batch", "a.zip", "--dest=o u t"}, Action::Run, "o u t", {"a.zip"}, ""},
        {{"--batch", "--", "--dest", "-x.zip"}, Action::Run, "", {"--dest", "-x.zip"}, ""},
        {{"--batch", "/auto", "-"}, Action::Run, "", {"/auto", "-"}, ""},
        {{"--help"}, Action::Help, "", {}, ""},
        {{"--batch", "a.zip", "-h"}, Action::Help, "", {}, ""},
        {{"--version"}, Action::Version, "", {}, ""},
        {{"--batch"}, Action::BadUsage, "", {}, "no archive"},
        {{"--batch", "--dest", "out"}, Action::BadUsage, "", {}, "no archive"},
        {{"--batch", "a.zip", "--dest"}, Action::BadUsage, "", {}, "--dest needs"},
        {{"--batch", "--dest=", "a.zip"}, Action::BadUsage, "", {}, "--dest needs"},
        {{"--batch", "--dest", "x", "--dest", "y", "a.zip"},
         Action::BadUsage,
         "",
         {},
         "more than once"},
        {{"--batch", "--auto", "a.zip"}, Action::BadUsage, "", {}, "unknown option --auto"},
        {{"--batch", "--batch", "a.zip"}, Action::BadUsage, "", {}, "unknown option --batch"},
        {{"a.zip", "--batch"}, Action::BadUsage, "", {}, "first argument"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const BatchOptions options = ParseBatchArguments(c.arguments);
        EXPECT_EQ(options.action, c.action);
        if (c.action == Action::BadUsage) {
            EXPECT_TRUE(options.problem.contains(c.problem)) << options.problem.toStdString();
        } else if (c.action == Action::Run) {
            EXPECT_EQ(options.destination, c.destination);
            EXPECT_EQ(options.paths, c.paths);
        }
    }
}

TEST(BatchOptions, OnlyTheFirstArgumentChoosesTheMode) {
    EXPECT_TRUE(IsBatchCommandLine({"--batch", "a.zip"}));
    EXPECT_TRUE(IsBatchCommandLine({"--version"}));
    EXPECT_FALSE(IsBatchCommandLine({"a.zip", "--batch"}));
    EXPECT_FALSE(IsBatchCommandLine({"a.zip", "/auto"}));
    EXPECT_FALSE(IsBatchCommandLine({}));
}

} // namespace
