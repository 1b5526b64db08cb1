#include "app/command_line.h"
#include "app/startup.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    QStringList arguments;
    QString forwarded;
    QString local;
};

TEST(CommandLine, BothNormalisationsFollowTheQuotedText) {
    const Case cases[] = {
        {{u"/a b.zip"_qs, u"/c.zip"_qs}, u"/a b.zip;/c.zip"_qs, u"/a b.zip;/c.zip"_qs},
        // The desktop entry's "%F /auto" reads like the verb's "%1" /auto.
        {{u"/d/A.zip"_qs, u"/auto"_qs}, u"/d/A.zip /auto"_qs, u"/d/A.zip /auto"_qs},
        {{u"/x.zip"_qs, u"/systray"_qs}, u"/x.zip /systray"_qs, u"/x.zip"_qs},
        {{u"/REMREG"_qs}, u"/REMREG"_qs, QString()},
        {{u"/auto"_qs}, u"/auto"_qs, u"/auto"_qs},
        {{}, QString(), QString()},
        // One argument holding blanks stays one path.
        {{u"/a.zip /b.zip"_qs}, u"/a.zip /b.zip"_qs, u"/a.zip /b.zip"_qs},
        // Switch names inside paths are no switches.
        {{u"/srv/systray/x.zip"_qs, u"/remreg.zip"_qs},
         u"/srv/systray/x.zip;/remreg.zip"_qs,
         u"/srv/systray/x.zip;/remreg.zip"_qs},
    };
    for (const Case& c : cases) {
        const QString text = CommandLineText(c.arguments);
        EXPECT_EQ(NormaliseForForwarding(text), c.forwarded) << text.toStdString();
        EXPECT_EQ(NormaliseForLocalUse(text), c.local) << text.toStdString();
    }
}

TEST(CommandLine, AutoCountsOnlyAsAWordOfItsOwn) {
    const struct {
        QString piece;
        bool automatic;
        QString left;
    } cases[] = {
        {u"/d/a.zip /auto"_qs, true, u"/d/a.zip"_qs},
        {u"/auto"_qs, true, QString()},
        {u"/auto /d/a.zip"_qs, true, u"/d/a.zip"_qs},
        {u"/home/u/automation/a.zip"_qs, false, u"/home/u/automation/a.zip"_qs},
        {u"/auto/a.zip"_qs, false, u"/auto/a.zip"_qs},
    };
    for (const auto& c : cases) {
        QString piece = c.piece;
        EXPECT_EQ(TakeSwitch(piece, u"/auto", Qt::CaseSensitive), c.automatic)
            << c.piece.toStdString();
        EXPECT_EQ(piece, c.left) << c.piece.toStdString();
    }
}

TEST(CommandLine, PiecesSkipEmptyOnes) {
    EXPECT_EQ(SplitPieces(u";a;;b;"_qs), QStringList({u"a"_qs, u"b"_qs}));
    EXPECT_TRUE(SplitPieces(u";;"_qs).isEmpty());
}

TEST(CommandLine, ForwardingKeyHoldsThePathsInOrder) {
    WriteForwardingKey(
        NormaliseForForwarding(CommandLineText({u"C:\\a b.zip"_qs, u"C:\\c.zip"_qs})));
    const QString key = kProgramKey + u"\\AddItem"_qs;
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, u"0"_qs, 9), 2u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, u"1"_qs, {}), u"C:\\a b.zip");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, u"2"_qs, {}), u"C:\\c.zip");
}

TEST(CommandLine, TitleNamesTheVersion) {
    EXPECT_EQ(WindowTitle(), u"Tamblewick 2.70");
}

} // namespace
