#include "engines/engine_conventions.h"
#include "engines/zip_output_reader.h"
#include "support/report_recorder.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* line;
    QStringList messages;
};

TEST(ZipOutputReader, LinesBecomeReports) {
    const QString archive = "/in/a.zip";
    const LineCase cases[] = {
        {"  inflating: docs/a.txt", {"item|docs/a.txt", "range|0|4", "step|1"}},
        {" extracting: b.bin", {"item|b.bin", "range|0|4", "step|1"}},
        {"   creating: docs/", {"item|docs/"}},
        {"warning [/in/a.zip]:  zipfile is empty", {"error|/in/a.zip|ZIP file is empty"}},
        {"  warning: cannot create x.txt: Permission denied.",
         {"error|/in/a.zip|cannot create x.txt: Permission denied"}},
        {"  warning: caution here.", {}},
        {"  End-of-central-directory signature not found.",
         {"error|/in/a.zip|End of file not found"}},
        {"   skipping: docs/a.txt incorrect password",
         {"error|docs/a.txt|Invalid password", "range|0|4", "step|1"}},
        {"   skipping: docs/a.txt   incorrect password",
         {"error|docs/a.txt  |Invalid password", "range|0|4", "step|1"}},
        {"files skipped because of incorrect password: 2", {}},
        {"    testing: docs/", {"range|0|4", "step|1"}},
        {"    testing: notes.log",
         {"error|notes.log|Matched masks not to extract", "range|0|4", "step|1"}},
        {"    testing: keep.txt", {"range|0|4", "step|1"}},
        {"    testing: creating.doc", {"item|creating.doc"}},
        {"No errors detected in compressed data of /in/a.zip.", {}},
        {"  skipping: Target file exists\\docs/a.txt",
         {"error|docs/a.txt|File already exists", "range|0|4", "step|1"}},
        {"  skipping: Target file newer\\b.txt",
         {"error|b.txt|File already exists", "range|0|4", "step|1"}},
        {"  4  01-02-2024 10:00   warning.txt", {"error|/in/a.zip| 01-02-2024 10:00   warning.tx"}},
        {"   OK", {}},
        {" x ", {}},
    };
    ExclusionMasks() = QStringList{"*.log"};
    for (const auto& c : cases) {
        tw::test::ReportRecorder recorder;
        ZipOutputContext context{archive, 4, 0};
        ReadZipOutput(QString::fromUtf8(c.line), context);
        EXPECT_EQ(recorder.Messages(), c.messages) << c.line;
    }
    ExclusionMasks().clear();
}

TEST(ZipOutputReader, TestingCountsFoldersAndExcludedEntries) {
    tw::test::ReportRecorder recorder;
    ExclusionMasks() = QStringList{"secret"};
    ZipOutputContext context{"/a.zip", 3, 0};
    for (const char* line :
         {"    testing: dir/", "    testing: dir/secret.txt", "    testing: dir/plain.txt"})
        ReadZipOutput(line, context);
    EXPECT_EQ(context.excludedCount, 2);
    EXPECT_EQ(recorder.Position(), 3);
    ExclusionMasks().clear();
}

} // namespace
