// Editing the desktop's mimeapps.list: our lines change, nothing else does.
#include "desktop_fixture.h"
#include "platform/mime_apps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using platform::mime_apps::kDefaultApplications;
using platform::mime_apps::kRemovedAssociations;
using platform::mime_apps::MimeAppsList;

const QString kOurs = u"tamblewick.desktop"_qs;
const QString kZip = u"application/zip"_qs;

struct ListCase {
    const char* name;
    QByteArray content;
    const char* after = nullptr; // when not the content itself
};

// Lists as desktops and people leave them: comments, other sections and types, CRLF line ends,
// no final line break, our type already there with others' choices, or nothing at all.
const ListCase kLists[] = {
    {"empty", ""},
    {"other types only",
     "# chosen in the file manager\n[Default Applications]\ntext/plain=gedit.desktop;\n\n"
     "[Added Associations]\nimage/png=gimp.desktop;eog.desktop;\n"},
    {"our type taken",
     "[Added Associations]\napplication/zip=ark.desktop;\n\n[Default Applications]\n"
     "application/zip=org.gnome.FileRoller.desktop;ark.desktop;\n# keep "
     "me\ntext/plain=a.desktop\n"},
    {"crlf without final newline",
     "[Default Applications]\r\ntext/html = firefox.desktop\r\n\r\n[Added Associations]\r\n"
     "text/html=firefox.desktop"},
    {"our removal undone", "[Removed Associations]\napplication/zip=tamblewick.desktop;\n", ""},
    {"sections we add go again", "text=1\n", nullptr},
};

TEST(MimeApps, MakingAndDroppingTheDefaultGivesTheListBackByteForByte) {
    for (const ListCase& listCase : kLists) {
        SCOPED_TRACE(listCase.name);
        MimeAppsList list(listCase.content);
        const QStringList before = list.Entries(kDefaultApplications, kZip);
        list.MakeDefault(kZip, kOurs);
        EXPECT_EQ(list.Entries(kDefaultApplications, kZip), QStringList(kOurs) + before);
        EXPECT_FALSE(list.Entries(kRemovedAssociations, kZip).contains(kOurs));
        list.DropDefault(kZip, kOurs);
        EXPECT_EQ(list.Content(), listCase.after ? QByteArray(listCase.after) : listCase.content);
    }
}

TEST(MimeApps, NewLinesGoIntoTheirSectionAndMissingSectionsAreAppended) {
    MimeAppsList list(QByteArray("[Default Applications]\ntext/plain=a.desktop;\n\n"
                                 "[Added Associations]\nimage/png=b.desktop;\n"));
    list.MakeDefault(kZip, kOurs);
    list.SetEntries(kRemovedAssociations, u"image/gif"_qs, {u"c.desktop"_qs});
    EXPECT_EQ(list.Content(), "[Default Applications]\ntext/plain=a.desktop;\n"
                              "application/zip=tamblewick.desktop;\n\n"
                              "[Added Associations]\nimage/png=b.desktop;\n\n"
                              "[Removed Associations]\nimage/gif=c.desktop;\n");
}

TEST(MimeApps, ForgetTakesTheIdOutOfEveryListAndEmptyLinesGo) {
    MimeAppsList list(QByteArray("[Default Applications]\napplication/zip=tamblewick.desktop;\n"
                                 "application/vnd.rar=ark.desktop;tamblewick.desktop;\n"
                                 "[Added Associations]\napplication/x-ace=tamblewick.desktop;x;\n"
                                 "# tamblewick.desktop=comment stays\n"));
    list.Forget(kOurs);
    EXPECT_EQ(list.Content(), "[Default Applications]\napplication/vnd.rar=ark.desktop;\n"
                              "[Added Associations]\napplication/x-ace=x;\n"
                              "# tamblewick.desktop=comment stays\n");
}

TEST(MimeApps, TheDefaultIsTheFirstInstalledEntry) {
    tw::test::WriteBytes(tw::test::MimeAppsPath(),
                         "[Default Applications]\napplication/zip=gone.desktop;kde-ark.desktop;"
                         "other.desktop;\n");
    EXPECT_EQ(platform::mime_apps::DefaultApplication(kZip), QString());
    tw::test::InstallOtherApplication(u"other.desktop"_qs, kZip);
    EXPECT_EQ(platform::mime_apps::DefaultApplication(kZip), u"other.desktop"_qs);
    tw::test::InstallOtherApplication(u"kde/ark.desktop"_qs, kZip);
    EXPECT_EQ(platform::mime_apps::DefaultApplication(kZip), u"kde-ark.desktop"_qs);
}

TEST(MimeApps, UpdateReplacesTheFileWholeAndKeepsItsMode) {
    const QString path = tw::test::MimeAppsPath();
    EXPECT_TRUE(
        platform::mime_apps::Update([](MimeAppsList& list) { list.MakeDefault(kZip, kOurs); }));
    EXPECT_EQ(tw::test::ReadBytes(path),
              "[Default Applications]\napplication/zip=tamblewick.desktop;\n");

    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(
        platform::mime_apps::Update([](MimeAppsList& list) { list.DropDefault(kZip, kOurs); }));
    EXPECT_EQ(tw::test::ReadBytes(path), "");
    EXPECT_FALSE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther));
    const QStringList leftovers = QDir(tw::test::ConfigPath({})).entryList(QDir::Files);
    EXPECT_EQ(leftovers, QStringList(u"mimeapps.list"_qs));
}

TEST(MimeApps, AListThatCannotBeReadIsLeftAlone) {
    // A folder in the list's place stands for any file that cannot be read, also for root.
    QDir().mkpath(tw::test::MimeAppsPath());
    bool edited = false;
    EXPECT_FALSE(platform::mime_apps::Update([&](MimeAppsList&) { edited = true; }));
    EXPECT_FALSE(edited);
    EXPECT_TRUE(QFileInfo(tw::test::MimeAppsPath()).isDir());
}

} // namespace
