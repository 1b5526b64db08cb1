// Associations on the store and on the desktop, with real files in the test's XDG folders.
#include "desktop_fixture.h"
#include "platform/module_path.h"
#include "settings/associations.h"
#include "settings/settings_store.h"
#include "ui_support/ui_test_support.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using tw::test::MimeAppsPath;
using tw::test::ReadBytes;
using tw::test::WriteBytes;

const QString kSave = u"Tamblewick Save"_qs;
const QString kAssociated = u"Tamblewick is now associated with\t\nZIP archives."_qs;
const QString kRemoved = u"File association has been removed.\t"_qs;

QString ClassOf(const QString& extension) {
    return ReadString(HKEY_CLASSES_ROOT, extension, {}, u"<missing>"_qs);
}

QString BackupOf(const QString& extension) {
    return ReadString(HKEY_CLASSES_ROOT, extension, kSave, u"<missing>"_qs);
}

QString Program() {
    return QString::fromStdString(platform::ModuleFilePath());
}

class Associations : public testing::Test {
protected:
    void SetUp() override { tw::test::EnsureApplication(); }

    // Runs `action` while message boxes are recorded and closed.
    QStringList MessagesOf(const std::function<void()>& action) {
        tw::test::ModalWatcher watcher;
        action();
        for (const auto& box : watcher.Boxes())
            EXPECT_EQ(box.title, u"Error"_qs);
        return watcher.Texts();
    }
};

TEST_F(Associations, RegisterProgIdWritesTheClassKeyAndTheDesktopEntry) {
    RegisterProgId();
    const QString folder = QFileInfo(Program()).absolutePath() + u'/';
    const QString open = u'"' + Program() + u"\" %1"_qs;
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"Tamblewick\\DefaultIcon"_qs, {}, {}),
              folder + u"twfileicon.ico,0"_qs);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"Tamblewick"_qs, u"AlwaysShowExt"_qs, u"x"_qs),
              u""_qs);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"Tamblewick"_qs, {}, u"<missing>"_qs),
              u"<missing>"_qs);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"Tamblewick\\shell\\open"_qs, {}, {}),
              u"Open with Tamblewick"_qs);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"Tamblewick\\shell\\open\\command"_qs, {}, {}), open);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT,
                         u"Tamblewick\\shell\\Extract with &Tamblewick\\command"_qs, {}, {}),
              open + u" /auto"_qs);
    EXPECT_FALSE(platform::registry::QueryValue(platform::registry::Root::ClassesRoot,
                                                "Tamblewick\\shell\\Extract with &Tamblewick", ""));

    const QString exec = u"Exec=\""_qs + Program() + u"\" %F"_qs;
    const QStringList lines =
        QString::fromUtf8(ReadBytes(tw::test::ProgramEntryPath())).split(u'\n');
    for (const QString& line :
         {u"[Desktop Entry]"_qs, u"Type=Application"_qs, u"Name=Tamblewick"_qs,
          u"Icon="_qs + folder + u"twfileicon.ico"_qs, exec, u"[Desktop Action extract]"_qs,
          u"Name=Extract with Tamblewick"_qs, exec + u" /auto"_qs})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
}

// Desktops fall back to any entry that claims a type, so ours claims only what is ours.
TEST_F(Associations, TheDesktopEntryClaimsExactlyTheAssociatedTypes) {
    const auto mimeTypeLine = [] {
        for (const QString& line :
             QString::fromUtf8(ReadBytes(tw::test::ProgramEntryPath())).split(u'\n'))
            if (line.startsWith(u"MimeType="_qs))
                return line;
        return QString();
    };
    RegisterProgId();
    EXPECT_EQ(mimeTypeLine(), QString());
    MessagesOf([] {
        AssociateExtension(u".zip"_qs);
        AssociateExtension(u".jar"_qs);
    });
    EXPECT_EQ(mimeTypeLine(),
              u"MimeType=application/zip;application/x-java-archive;application/java-archive;"_qs);
    MessagesOf([] { RemoveAssociation(u".zip"_qs, true); });
    EXPECT_EQ(mimeTypeLine(), u"MimeType=application/x-java-archive;application/java-archive;"_qs);
}

TEST_F(Associations, WithoutAnyPreviousClassTheRoundTripLeavesAnEmptyClass) {
    EXPECT_FALSE(IsAssociated(u".ZIP"_qs));
    EXPECT_EQ(MessagesOf([] { AssociateExtension(u".zip"_qs); }), QStringList(kAssociated));
    EXPECT_EQ(ClassOf(u".zip"_qs), u"Tamblewick"_qs);
    EXPECT_EQ(BackupOf(u".zip"_qs), u""_qs);
    EXPECT_TRUE(IsAssociated(u".ZIP"_qs));
    EXPECT_EQ(ReadBytes(MimeAppsPath()),
              "[Default Applications]\napplication/zip=tamblewick.desktop;\n");

    EXPECT_EQ(MessagesOf([] { RemoveAssociation(u".zip"_qs, false); }), QStringList(kRemoved));
    EXPECT_EQ(ClassOf(u".zip"_qs), u""_qs);
    EXPECT_EQ(BackupOf(u".zip"_qs), u"<missing>"_qs);
    EXPECT_FALSE(IsAssociated(u".ZIP"_qs));
    EXPECT_EQ(ReadBytes(MimeAppsPath()), "");
}

TEST_F(Associations, TheDesktopsPreviousDefaultComesBackAndOtherContentStays) {
    tw::test::InstallOtherApplication(u"ark.desktop"_qs, u"application/zip"_qs);
    const QByteArray before = "# mine\n[Added Associations]\napplication/zip=ark.desktop;\n\n"
                              "[Default Applications]\napplication/zip=ark.desktop;x.desktop;\n"
                              "text/plain=gedit.desktop;\n";
    WriteBytes(MimeAppsPath(), before);

    MessagesOf([] { AssociateExtension(u".zip"_qs); });
    EXPECT_EQ(BackupOf(u".zip"_qs), u"ark.desktop"_qs);
    EXPECT_TRUE(ReadBytes(MimeAppsPath())
                    .contains("application/zip=tamblewick.desktop;ark.desktop;x.desktop;\n"));

    MessagesOf([] { RemoveAssociation(u".zip"_qs, false); });
    EXPECT_EQ(ReadBytes(MimeAppsPath()), before);
    EXPECT_EQ(ClassOf(u".zip"_qs), u"ark.desktop"_qs);
}

TEST_F(Associations, AStoredForeignClassIsBackedUpAndGivenBack) {
    WriteString(HKEY_CLASSES_ROOT, u".rar"_qs, {}, u"WinRAR"_qs);
    MessagesOf([] { AssociateExtension(u".rar"_qs); });
    EXPECT_EQ(BackupOf(u".rar"_qs), u"WinRAR"_qs);
    MessagesOf([] { RemoveAssociation(u".rar"_qs, false); });
    EXPECT_EQ(ClassOf(u".rar"_qs), u"WinRAR"_qs);
    EXPECT_EQ(BackupOf(u".rar"_qs), u"<missing>"_qs);
}

TEST_F(Associations, AssociatingTwiceBacksUpOurClassButTheDesktopKeepsItsDefault) {
    tw::test::InstallOtherApplication(u"ark.desktop"_qs, u"application/zip"_qs);
    WriteBytes(MimeAppsPath(), "[Default Applications]\napplication/zip=ark.desktop;\n");
    MessagesOf([] {
        AssociateExtension(u".zip"_qs);
        AssociateExtension(u".zip"_qs);
    });
    EXPECT_EQ(BackupOf(u".zip"_qs), u"Tamblewick"_qs);
    MessagesOf([] { RemoveAssociation(u".zip"_qs, true); });
    EXPECT_EQ(ClassOf(u".zip"_qs), u""_qs);
    EXPECT_EQ(ReadBytes(MimeAppsPath()), "[Default Applications]\napplication/zip=ark.desktop;\n");
}

TEST_F(Associations, RemovingAForeignAssociationChangesNothingButStillSaysSo) {
    tw::test::InstallOtherApplication(u"ark.desktop"_qs, u"application/x-ace"_qs);
    const QByteArray list = "[Default Applications]\napplication/x-ace=ark.desktop;\n";
    WriteBytes(MimeAppsPath(), list);
    WriteString(HKEY_CLASSES_ROOT, u".ace"_qs, {}, u"WinAce"_qs);

    EXPECT_EQ(MessagesOf([] { RemoveAssociation(u".ace"_qs, false); }), QStringList(kRemoved));
    EXPECT_TRUE(MessagesOf([] { RemoveAssociation(u".ace"_qs, true); }).isEmpty());
    EXPECT_EQ(ClassOf(u".ace"_qs), u"WinAce"_qs);
    EXPECT_EQ(BackupOf(u".ace"_qs), u"<missing>"_qs);
    EXPECT_EQ(ReadBytes(MimeAppsPath()), list);
}

TEST_F(Associations, IsAssociatedFollowsAChangeMadeOnTheDesktop) {
    MessagesOf([] { AssociateExtension(u".jar"_qs); });
    EXPECT_TRUE(IsAssociated(u".JAR"_qs));

    // The desktop's settings made another program the default.
    tw::test::InstallOtherApplication(u"ark.desktop"_qs, u"application/x-java-archive"_qs);
    const QByteArray changed =
        "[Default Applications]\napplication/x-java-archive=ark.desktop;tamblewick.desktop;\n"
        "application/java-archive=ark.desktop;\n";
    WriteBytes(MimeAppsPath(), changed);
    EXPECT_FALSE(IsAssociated(u".JAR"_qs));
    MessagesOf([] { RemoveAssociation(u".jar"_qs, true); });
    EXPECT_EQ(ReadBytes(MimeAppsPath()), changed);

    // And made us the default again.
    WriteBytes(MimeAppsPath(),
               "[Default Applications]\napplication/x-java-archive=tamblewick.desktop;\n");
    EXPECT_TRUE(IsAssociated(u".JAR"_qs));
}

TEST_F(Associations, EveryNameOfTheTypeGetsTheProgram) {
    MessagesOf([] {
        AssociateExtension(u".rar"_qs);
        AssociateExtension(u".jar"_qs);
    });
    const QByteArray list = ReadBytes(MimeAppsPath());
    for (const char* type : {"application/vnd.rar", "application/x-rar", "application/java-archive",
                             "application/x-java-archive"})
        EXPECT_TRUE(list.contains(QByteArray(type) + "=tamblewick.desktop;\n")) << type;
}

TEST_F(Associations, RemoveAllRegistrationGivesEverythingBackQuietly) {
    tw::test::InstallOtherApplication(u"ark.desktop"_qs, u"application/zip"_qs);
    const QByteArray before = "[Default Applications]\napplication/zip=ark.desktop;\n";
    WriteBytes(MimeAppsPath(), before);
    WriteString(HKEY_CLASSES_ROOT, u".ace"_qs, {}, u"WinAce"_qs);
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Overwrite"_qs, 1);
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey + u"\\WindowPos"_qs, u"Left"_qs, 5);
    MessagesOf([] {
        for (const QString& extension : {u".zip"_qs, u".rar"_qs, u".ace"_qs})
            AssociateExtension(extension);
    });

    EXPECT_TRUE(MessagesOf([] { RemoveAllRegistration(); }).isEmpty());
    EXPECT_FALSE(platform::registry::KeyExists(platform::registry::Root::LocalMachine,
                                               "Software\\Tamblewick"));
    EXPECT_FALSE(
        platform::registry::KeyExists(platform::registry::Root::ClassesRoot, "Tamblewick"));
    EXPECT_EQ(ClassOf(u".zip"_qs), u"ark.desktop"_qs);
    EXPECT_EQ(ClassOf(u".rar"_qs), u""_qs);
    EXPECT_EQ(ClassOf(u".ace"_qs), u"WinAce"_qs);
    EXPECT_EQ(ClassOf(u".jar"_qs), u"<missing>"_qs);
    for (const QString& extension : {u".zip"_qs, u".rar"_qs, u".ace"_qs})
        EXPECT_EQ(BackupOf(extension), u"<missing>"_qs);
    EXPECT_EQ(ReadBytes(MimeAppsPath()), before);
    EXPECT_FALSE(QFileInfo::exists(tw::test::ProgramEntryPath()));
}

// What GNOME's file manager asks: which application opens the type now.
TEST_F(Associations, TheDesktopOpensTheTypeWithTheProgramOnlyWhileAssociated) {
    bool found = false;
    tw::test::GioDefaultFor(u"application/zip"_qs, &found);
    if (!found)
        GTEST_SKIP() << "gio is not installed";
    MessagesOf([] {
        AssociateExtension(u".zip"_qs);
        AssociateExtension(u".jar"_qs);
    });
    EXPECT_EQ(tw::test::GioDefaultFor(u"application/zip"_qs, &found), u"tamblewick.desktop"_qs);
    EXPECT_EQ(tw::test::GioDefaultFor(u"application/x-java-archive"_qs, &found),
              u"tamblewick.desktop"_qs);
    MessagesOf([] { RemoveAssociation(u".zip"_qs, true); });
    EXPECT_NE(tw::test::GioDefaultFor(u"application/zip"_qs, &found), u"tamblewick.desktop"_qs);
}

} // namespace
