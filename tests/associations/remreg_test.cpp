// "/remreg" run as the real program: it ends by itself without a window and leaves no trace.
#include "app/startup.h"
#include "desktop_fixture.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "settings/associations.h"
#include "settings/send_to_link.h"
#include "settings/settings_store.h"
#include "support/fixtures.h"
#include "ui_support/ui_test_support.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using platform::registry::KeyExists;
using platform::registry::Root;

const QByteArray kListBefore = "# chosen by hand\n[Default Applications]\n"
                               "application/zip=ark.desktop;\ntext/plain=gedit.desktop;\n";

void RegisterEverything() {
    tw::test::InstallOtherApplication(u"ark.desktop"_qs, u"application/zip"_qs);
    tw::test::WriteBytes(tw::test::MimeAppsPath(), kListBefore);
    WriteDword(HKEY_LOCAL_MACHINE, kProgramKey, u"Overwrite"_qs, 1);
    const tw::test::ModalWatcher watcher;
    for (const QString& extension : {u".zip"_qs, u".rar"_qs, u".ace"_qs, u".jar"_qs})
        AssociateExtension(extension);
    CreateShellLink(u"/opt/tw/tamblewick"_qs, kSendToLinkName, u"Tamblewick"_qs);
    ASSERT_TRUE(IsAssociated(u".ZIP"_qs));
}

struct Session {
    const char* name;
    bool offscreen; // else no display at all
};

TEST(RemReg, EndsAtOnceWithoutAWindowAndLeavesNoTrace) {
    tw::test::EnsureApplication();
    for (const Session session : {Session{"no display", false}, Session{"offscreen", true}}) {
        SCOPED_TRACE(session.name);
        RegisterEverything();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (session.offscreen)
            environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QString::fromStdString((tw::test::BinDir() / "tamblewick").string()),
                      {u"/remreg"_qs});
        // A window would keep the program running until someone closed it.
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_FALSE(program.readAllStandardError().contains("tamblewick:"));

        EXPECT_FALSE(KeyExists(Root::LocalMachine, "Software\\Tamblewick"));
        EXPECT_FALSE(KeyExists(Root::ClassesRoot, "Tamblewick"));
        EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u".zip"_qs, {}, {}), u"ark.desktop"_qs);
        EXPECT_FALSE(IsAssociated(u".ZIP"_qs));
        EXPECT_EQ(tw::test::ReadBytes(tw::test::MimeAppsPath()), kListBefore);
        EXPECT_FALSE(QFileInfo::exists(tw::test::ProgramEntryPath()));
        EXPECT_FALSE(tw::test::ReadBytes(tw::test::DataPath(u"applications/mimeinfo.cache"_qs))
                         .contains("tamblewick"));
        for (const QString& path : platform::shell::SendToLinkPaths(kSendToLinkName))
            EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
}

TEST(RemReg, OnlyTheSwitchItselfCounts) {
    EXPECT_TRUE(AsksToRemoveRegistration({u"/remreg"_qs}));
    EXPECT_TRUE(AsksToRemoveRegistration({u"/tmp/a.zip"_qs, u"/remreg"_qs}));
    // Paths here begin with "/": a folder named remreg must not wipe the settings.
    EXPECT_FALSE(AsksToRemoveRegistration({u"/remreg/a.zip"_qs}));
    EXPECT_FALSE(AsksToRemoveRegistration({u"/home/me/remreg.zip"_qs}));
    EXPECT_FALSE(AsksToRemoveRegistration({u"/REMREG"_qs}));
}

} // namespace
