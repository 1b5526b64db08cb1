#include "archives/naming.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct KindCase {
    const char* path;
    ArchiveKind kind;
};

TEST(Naming, ArchiveKindByExtension) {
    const KindCase cases[] = {
        {"C:\\Files\\Backup.ZIP", KnownArchive},
        {"c:\\files\\backup.zip", KnownArchive},
        {"/home/u/lib.jar", KnownArchive},
        {"a.rar", KnownArchive},
        {"movie.r00", KnownArchive},
        {"movie.r01", KnownArchive},
        {"movie.c01", KnownArchive},
        {"x.a00", KnownArchive},
        {"x.ace", KnownArchive},
        {"Setup.EXE", CandidateArchive},
        {"disk.001", CandidateArchive},
        {"data.tar.gz", NotArchive},
        {"README", NotArchive},
        {"C:\\dir.zip\\readme", NotArchive},
        {"movie.r05", NotArchive},
        {"movie.c02", NotArchive},
        {"disk.002", NotArchive},
        {"/srv/dir.zip/readme", NotArchive},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArchiveKindOf(QString::fromUtf8(c.path)), c.kind) << c.path;
}

TEST(Naming, VolumeExtensionsAreTheSixLaterVolumes) {
    EXPECT_EQ(VolumeExtensions(), QStringList({".r01", ".r00", ".a00", ".a01", ".c00", ".c01"}));
}

TEST(Naming, PathParts) {
    struct Case {
        const char* path;
        const char* fileName;
        const char* baseName;
        const char* folder;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\a\\b.zip", "b.zip", "b", "C:\\a\\", ".zip"},
        {"C:\\a\\B.ZIP", "B.ZIP", "B", "C:\\a\\", ".zip"},
        {"/home/u/x.tar.zip", "x.tar.zip", "x.tar", "/home/u/", ".zip"},
        {"/home/u.d/readme", "readme", "readme", "/home/u.d/", ""},
        {"mixed/sep\\name.Rar", "name.Rar", "name", "mixed/sep\\", ".rar"},
        {"plain.ace", "plain.ace", "plain", "", ".ace"},
        {"C:file.zip", "file.zip", "file", "C:", ".zip"},
        {"/ünï/çødé.ZİP", "çødé.ZİP", "çødé", "/ünï/", ".zİp"},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(FileNameOf(path), QString::fromUtf8(c.fileName)) << c.path;
        EXPECT_EQ(BaseNameOf(path), QString::fromUtf8(c.baseName)) << c.path;
        EXPECT_EQ(FolderOf(path), QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(ExtensionOf(path), QString::fromUtf8(c.extension)) << c.path;
    }
}

TEST(Naming, LongPartsAreCutAt255WithoutSplittingACharacter) {
    const QString longName = QString(254, u'n') + QString::fromUtf8("😀") + ".zip";
    EXPECT_EQ(BaseNameOf("/x/" + longName), QString(254, u'n'));
}

TEST(Naming, EnsureTrailingSeparator) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {" C:\\out ", "C:\\out/"},
        {"C:\\out\\", "C:\\out\\"},
        {"C:/out/", "C:/out/"},
        {"", ""},
        {"   ", "/"},
        {"/home/u", "/home/u/"},
    };
    for (const auto& c : cases) {
        QString path = QString::fromUtf8(c.in);
        EnsureTrailingSeparator(path);
        EXPECT_EQ(path, QString::fromUtf8(c.out)) << '"' << c.in << '"';
    }
}

TEST(Naming, IsFolderAsksTheFileSystemExceptForRoots) {
    QDir().mkpath("sub");
    EXPECT_TRUE(IsFolder("/"));
    EXPECT_TRUE(IsFolder("C:\\"));
    EXPECT_TRUE(IsFolder(QDir::currentPath() + "/sub"));
    EXPECT_FALSE(IsFolder(QDir::currentPath() + "/missing"));
    EXPECT_FALSE(IsFolder("/etc/hostname"));
}

TEST(Naming, ModuleFolderIsTheExecutablesFolderWithSlash) {
    const QString folder = ModuleFolder();
    EXPECT_TRUE(folder.endsWith('/'));
    EXPECT_EQ(folder + FileNameOf(ModulePath()), ModulePath());
    EXPECT_TRUE(QFileInfo(ModulePath()).isExecutable());
}

} // namespace
