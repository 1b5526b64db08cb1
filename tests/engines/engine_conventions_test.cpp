#include "engines/engine_conventions.h"
#include "engines/password_protocol.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "support/report_recorder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(EngineConventions, ExclusionMasksUseTheSubstringRule) {
    ExclusionMasks() = QStringList{"txt"};
    EXPECT_FALSE(IsExtractAllowed("notes.txt"));
    EXPECT_FALSE(IsExtractAllowed("TXT/a.doc"));
    EXPECT_FALSE(IsExtractAllowed("mytxtfile.c"));
    ExclusionMasks() = QStringList{"*"};
    EXPECT_TRUE(IsExtractAllowed("anything"));
    ExclusionMasks() = QStringList{"a*b"};
    EXPECT_FALSE(IsExtractAllowed("xxbxx"));
    EXPECT_TRUE(IsExtractAllowed("xyz"));
    ExclusionMasks() = QStringList{"*.TXT", "temp"};
    EXPECT_FALSE(IsExtractAllowed("notes.txt.bak"));
    EXPECT_FALSE(IsExtractAllowed("mytemplate.dot"));
    ExclusionMasks().clear();
    EXPECT_TRUE(IsExtractAllowed("notes.txt"));
}

TEST(EngineConventions, FolderEntriesAndFileExistence) {
    EXPECT_TRUE(IsFolderEntry("docs/"));
    EXPECT_TRUE(IsFolderEntry("  docs\\  "));
    EXPECT_FALSE(IsFolderEntry("docs"));
    EXPECT_FALSE(IsFolderEntry("   "));
    tw::test::WriteFile("here.txt", "x");
    EXPECT_TRUE(FileExists(QDir::currentPath() + "/here.txt"));
    EXPECT_FALSE(FileExists(QDir::currentPath() + "/missing.txt"));
}

TEST(EngineConventions, OverwriteIsOffUnlessSet) {
    EXPECT_FALSE(OverwriteEnabled());
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, "Overwrite", 1);
    EXPECT_TRUE(OverwriteEnabled());
}

TEST(EngineConventions, PasswordCacheAsksOncePerArchiveAndRemembersCancel) {
    tw::test::ReportRecorder recorder;
    QStringList answers = {"", "secret", "CANCELED"};
    QStringList prompts;
    SetPasswordPrompt([&](const QString& prompt) {
        prompts << prompt;
        return answers.takeFirst();
    });
    PasswordCache cache;
    EXPECT_EQ(cache.Obtain("/x/a.zip"), QString("")); // empty: handed on, not remembered
    EXPECT_EQ(cache.Obtain("/x/a.zip"), QString("secret"));
    EXPECT_EQ(cache.Obtain("/x/a.zip"), QString("secret"));
    EXPECT_EQ(prompts, QStringList({"Enter password for a.zip : ", "Enter password for a.zip : "}));

    cache.Clear();
    EXPECT_FALSE(cache.Obtain("/x/b.zip"));
    EXPECT_FALSE(cache.Obtain("/x/b.zip"));
    EXPECT_EQ(prompts.size(), 3);
    EXPECT_EQ(recorder.Rows(),
              QStringList({"error||Password required", "error||Password required"}));
    SetPasswordPrompt(nullptr);
}

} // namespace
