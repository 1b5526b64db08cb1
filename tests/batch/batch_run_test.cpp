// The real program in batch mode, run as a script would: without a display, on real archives.
#include "app/startup.h"
#include "settings/settings_store.h"
#include "support/ace_writer.h"
#include "support/fixtures.h"
#include "support/temp_home.h"
#include "support/zip_fixtures.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tw::test;

namespace {

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

struct BatchRun {
    int exitCode = -1;
    QStringList rows; // standard output without the stamps
    QString errors;   // standard error
};

class BatchRunTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_batch";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
    }

    void SetUp() override { work = CurrentHome().work; }

    // No display, no Qt platform: a script's environment.
    void Start(QProcess& process, const QStringList& arguments, const fs::path& program) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(Q(work));
        process.start(Q(program), arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    BatchRun Finish(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        BatchRun run;
        run.exitCode = process.exitCode();
        run.errors = QString::fromUtf8(process.readAllStandardError());
        // Every row but "Done" carries its stamp.
        static const QRegularExpression stamped(
            uR"(^\[\d\d/\d\d/\d\d\]\[\d\d:\d\d:\d\d [^\]]+\] (.*)$)"_qs);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
            const auto match = stamped.match(line);
            EXPECT_TRUE(match.hasMatch() || line == u"Done") << line.toStdString();
            run.rows << (match.hasMatch() ? match.captured(1) : line);
        }
        return run;
    }

    BatchRun Batch(const QStringList& arguments, const QByteArray& input = {},
                   const fs::path& program = BinDir() / "tamblewick") {
        QProcess process;
        Start(process, QStringList{"--batch"} + arguments, program);
        process.write(input);
        process.closeWriteChannel();
        return Finish(process);
    }

    fs::path Zip(const fs::path& path, const std::vector<ZipEntry>& entries) {
        fs::create_directories(path.parent_path());
        WriteZip(path, entries);
        return path;
    }

    QString Destination(const char* folder) const { return Q(work / folder) + u'/'; }

    fs::path work;
};

// Every file of a shared fixture's md5 list, compared below `folder`.
void ExpectMd5List(const fs::path& list, const fs::path& folder) {
    const QString text = QString::fromStdString(ReadFile(list));
    int files = 0;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QString md5 = line.section(u' ', 0, 0);
        const QString name = line.section(u' ', 1).trimmed();
        const QByteArray bytes = QByteArray::fromStdString(ReadFile(folder / name.toStdString()));
        EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex(), md5.toLatin1())
            << name.toStdString();
        ++files;
    }
    EXPECT_GT(files, 0);
}

qsizetype IndexOf(const QStringList& rows, const QString& row) {
    const qsizetype at = rows.indexOf(row);
    EXPECT_GE(at, 0) << row.toStdString() << " not in\n" << rows.join(u'\n').toStdString();
    return at;
}

TEST_F(BatchRunTest, ExtractsZipRarAndAceVolumeSetsInTheOrderGiven) {
    TW_REQUIRE_SHARED_FIXTURES(rar, "rar");
    TW_REQUIRE_SHARED_FIXTURES(ace, "ace");
    const fs::path zip =
        Zip(work / "in" / "t.zip", {{"inside.txt", "zip text"}, {"sub/deep.txt", "deep text"}});
    const BatchRun run = Batch({Q(zip), Q(rar / "rar_multivolume_single_file.part1.rar"),
                                Q(ace / "multivolume.ace"), "--dest", "out"});

    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList& rows = run.rows;
    const qsizetype zipRow = IndexOf(rows, "Archive: t.zip");
    const qsizetype rarRow = IndexOf(rows, "Archive: rar_multivolume_single_file.part1.rar");
    const qsizetype aceRow = IndexOf(rows, "Archive: multivolume.ace");
    EXPECT_LT(zipRow, rarRow);
    EXPECT_LT(rarRow, aceRow);
    EXPECT_EQ(rows.at(zipRow + 1), "Destination: " + Destination("out"));
    EXPECT_GT(IndexOf(rows, "Processed sub/deep.txt"), zipRow);
    // Printed when added: after the volume rows, although the window shows it higher up.
    EXPECT_LT(IndexOf(rows, "Archive: rar_multivolume_single_file.part3.rar"),
              IndexOf(rows, "CRC OK"));
    EXPECT_GT(IndexOf(rows, "Processed LibarchiveAddingTest.html"), rarRow);
    EXPECT_GT(IndexOf(rows, "Archive: multivolume.c00"), aceRow);
    EXPECT_EQ(rows.count("Done"), 3);
    EXPECT_EQ(rows.last(), "Done");
    EXPECT_TRUE(run.errors.contains(" Extracting multivolume.ace ...\n"));
    EXPECT_TRUE(run.errors.endsWith(" Done.\n")) << run.errors.toStdString();

    EXPECT_EQ(ReadFile(work / "out" / "sub" / "deep.txt"), "deep text");
    EXPECT_EQ(fs::file_size(work / "out" / "LibarchiveAddingTest.html"), 20111u);
    ExpectMd5List(ace / "multivolume.ace.md5", work / "out");
}

TEST_F(BatchRunTest, EncryptedAceTakesOneLineOfStandardInput) {
    TW_REQUIRE_SHARED_FIXTURES(ace, "ace");
    const BatchRun run = Batch({Q(ace / "passwd2.ace"), "--dest", "out"}, "1234\n");
    EXPECT_EQ(run.exitCode, 0) << run.rows.join(u'\n').toStdString();
    EXPECT_EQ(run.errors.count("Enter password for passwd2.ace : \n"), 1);
    ExpectMd5List(ace / "passwd2.ace.md5", work / "out");

    const BatchRun canceled = Batch({Q(ace / "passwd2.ace"), "--dest", "none"});
    EXPECT_EQ(canceled.exitCode, 1);
    EXPECT_TRUE(canceled.rows.join(u'\n').contains("Error: "));
    EXPECT_FALSE(fs::exists(work / "none" / "passwd2.m4"));
}

TEST_F(BatchRunTest, EachEncryptedArchiveGetsItsOwnPassword) {
    WriteFile(work / "a.ace", ace::Write({{"a.txt", "first secret", false, 0x5A2B6000, "aaa"}}));
    WriteFile(work / "b.ace", ace::Write({{"b.txt", "second secret", false, 0x5A2B6000, "bbb"}}));
    const BatchRun run = Batch({"a.ace", "b.ace", "--dest", "out"}, "aaa\nbbb\n");
    EXPECT_EQ(run.exitCode, 0) << run.rows.join(u'\n').toStdString();
    EXPECT_EQ(ReadFile(work / "out" / "a.txt"), "first secret");
    EXPECT_EQ(ReadFile(work / "out" / "b.txt"), "second secret");
}

TEST_F(BatchRunTest, DamagedArchiveGivesAnErrorRowAndTheRunGoesOn) {
    WriteFile(work / "notes.zip", "a text file, not an archive\n");
    Zip(work / "good.zip", {{"good.txt", "fine"}});
    const BatchRun run = Batch({"notes.zip", "good.zip", "--dest", "out"});
    EXPECT_EQ(run.exitCode, 1);
    const qsizetype error = IndexOf(run.rows, "Error: Not a valid archive");
    EXPECT_LT(IndexOf(run.rows, "Archive: notes.zip"), error);
    EXPECT_LT(error, IndexOf(run.rows, "Archive: good.zip"));
    EXPECT_EQ(ReadFile(work / "out" / "good.txt"), "fine");
}

TEST_F(BatchRunTest, WithoutAFolderToExtractIntoTheRunIsCanceled) {
    Zip(work / "t.zip", {{"inside.txt", "text"}});
    const BatchRun run = Batch({"t.zip"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.rows.isEmpty()) << run.rows.join(u'\n').toStdString();
    EXPECT_TRUE(run.errors.contains("give --dest DIR"));
    EXPECT_TRUE(run.errors.endsWith(" Operation Canceled.\n")) << run.errors.toStdString();
    EXPECT_FALSE(fs::exists(work / "inside.txt"));
}

TEST_F(BatchRunTest, TheSettingsApplyAsInTheWindow) {
    const fs::path archive =
        Zip(work / "dl" / "setup.zip", {{"inside.txt", "kept"}, {"skip.log", "masked"}});
    for (const char* option : {"Current Directory", "Name Folder", "Delete After Extraction"})
        WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, option, 1);
    const QString masks = kProgramKey + "\\No Extract";
    WriteDword(HKEY_LOCAL_MACHINE, masks, "0", 1);
    WriteString(HKEY_LOCAL_MACHINE, masks, "1", "*.log");

    const BatchRun run = Batch({Q(archive), "--dest", "unused"});

    EXPECT_EQ(IndexOf(run.rows, "Archive: setup.zip") + 1,
              IndexOf(run.rows, "Destination: " + Q(work / "dl" / "setup") + "/"));
    IndexOf(run.rows, "Deleted to Recycling Bin");
    EXPECT_EQ(ReadFile(work / "dl" / "setup" / "inside.txt"), "kept");
    EXPECT_FALSE(fs::exists(work / "dl" / "setup" / "skip.log"));
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_TRUE(fs::exists(CurrentHome().data / "Trash" / "files" / "setup.zip"));
    EXPECT_FALSE(fs::exists(work / "unused"));
    EXPECT_TRUE(run.errors.contains("--dest was not used"));
}

TEST_F(BatchRunTest, FoldersAreSearchedAndNonArchivesLeftOut) {
    Zip(work / "tree" / "a.zip", {{"a.txt", "a"}});
    Zip(work / "tree" / "deeper" / "b.zip", {{"b.txt", "b"}});
    WriteFile(work / "tree" / "readme.txt", "no archive");
    WriteFile(work / "notes.txt", "no archive");
    const BatchRun run = Batch({"tree", "notes.txt", "--dest", "out"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    // In the order the file system gives.
    QStringList archives = run.rows.filter(QRegularExpression("^Archive: "));
    archives.sort();
    EXPECT_EQ(archives, QStringList({"Archive: a.zip", "Archive: b.zip"}));
    EXPECT_TRUE(run.errors.contains("not an archive, left out: notes.txt"));
    EXPECT_EQ(ReadFile(work / "out" / "b.txt"), "b");
}

TEST_F(BatchRunTest, MissingLibrariesRefuseTheRun) {
    // The program alone, without the three libraries beside it.
    fs::create_directories(work / "bare");
    fs::copy_file(BinDir() / "tamblewick", work / "bare" / "tamblewick");
    Zip(work / "t.zip", {{"inside.txt", "text"}});
    const BatchRun run = Batch({"t.zip", "--dest", "out"}, {}, work / "bare" / "tamblewick");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.rows, QStringList{"Error: Cannot find unacev2.dll"});
    for (const char* library : {"unacev2", "unrar", "unzip32"})
        EXPECT_TRUE(run.errors.contains(QString("tamblewick: Cannot find %1.dll").arg(library)));
    EXPECT_FALSE(fs::exists(work / "out" / "inside.txt"));
}

TEST_F(BatchRunTest, CtrlCStopsAfterTheCurrentArchive) {
    WriteFile(work / "locked.ace", ace::Write({{"l.txt", "locked", false, 0x5A2B6000, "pw"}}));
    Zip(work / "later.zip", {{"later.txt", "never"}});
    QProcess process;
    Start(process, {"--batch", "locked.ace", "later.zip", "--dest", "out"},
          BinDir() / "tamblewick");
    // It waits for a password that never comes.
    QString errors;
    for (int i = 0; i < 600 && !errors.contains("Enter password for locked.ace"); ++i) {
        process.waitForReadyRead(100);
        errors += QString::fromUtf8(process.readAllStandardError());
    }
    ASSERT_TRUE(errors.contains("Enter password for locked.ace")) << errors.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    BatchRun run = Finish(process);

    EXPECT_EQ(run.exitCode, 130);
    EXPECT_TRUE(run.errors.contains("stopping after the current archive"));
    EXPECT_TRUE(run.errors.endsWith(" Operation Stopped.\n")) << run.errors.toStdString();
    EXPECT_LT(IndexOf(run.rows, "Archive: locked.ace"), IndexOf(run.rows, "Done"));
    EXPECT_FALSE(run.rows.contains("Archive: later.zip"));
    EXPECT_FALSE(fs::exists(work / "out" / "later.txt"));
}

// Reads the terminal's output until `wanted` shows (or the program ends) and returns it all.
std::string ReadTerminalUntil(int terminal, const std::string& wanted, std::string& seen) {
    for (int i = 0; i < 300 && seen.find(wanted) == std::string::npos; ++i) {
        pollfd ready{terminal, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen;
}

TEST_F(BatchRunTest, OnATerminalTheFolderIsAskedAndThePasswordHidden) {
    fs::create_directories(work / "src");
    WriteFile(work / "src" / "p.ace",
              ace::Write({{"p.txt", "private", false, 0x5A2B6000, "s3cr3t"}}));
    const std::string program = (BinDir() / "tamblewick").string();
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            unsetenv(name);
        execl(program.c_str(), program.c_str(), "--batch", "src/p.ace", nullptr);
        _exit(127);
    }
    std::string seen;
    ReadTerminalUntil(terminal, "extracted into : [" + (work / "src").string() + "/] ", seen);
    ASSERT_NE(write(terminal, "\n", 1), -1); // the folder of the first archive
    ReadTerminalUntil(terminal, "Enter password for p.ace : ", seen);
    ASSERT_NE(write(terminal, "s3cr3t\n", 7), -1);
    ReadTerminalUntil(terminal, " Done.", seen);
    int status = 0;
    for (int i = 0; i < 300 && waitpid(child, &status, WNOHANG) == 0; ++i)
        usleep(100000);
    if (waitpid(child, &status, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    close(terminal);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << seen;
    EXPECT_EQ(seen.find("s3cr3t"), std::string::npos) << seen;
    EXPECT_NE(seen.find("Processed p.txt"), std::string::npos) << seen;
    EXPECT_EQ(ReadFile(work / "src" / "p.txt"), "private");
}

TEST_F(BatchRunTest, HelpVersionAndBadUsageNeedNoDisplay) {
    QProcess version;
    Start(version, {"--version"}, BinDir() / "tamblewick");
    ASSERT_TRUE(version.waitForFinished(30000));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(version.readAllStandardOutput()), WindowTitle() + "\n");

    QProcess help;
    Start(help, {"--help"}, BinDir() / "tamblewick");
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("tamblewick --batch [--dest DIR] PATH..."));

    const BatchRun bad = Batch({"--dest", "out"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.rows.isEmpty());
    EXPECT_TRUE(bad.errors.contains("no archive or folder given\nTry 'tamblewick --help'."));
}

} // namespace
