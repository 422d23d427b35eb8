#include "EditorOptions.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

QStringList sessionArgs()
{
    return {"-mKX9C", "uid={1}", "work=" + QDir::tempPath(), "port=4242", "appname=Plaxbridge"};
}

} // namespace

TEST(EditorOptionsTest, ThePluginCommandLineMakesASession)
{
    EditorOptions o;
    QString error;
    ASSERT_TRUE(o.parse(sessionArgs(), &error)) << error.toStdString();
    EXPECT_TRUE(o.checkSession(&error)) << error.toStdString();
    EXPECT_EQ(o.uid, "{1}");
    EXPECT_EQ(o.port, 4242);
    EXPECT_EQ(o.appname, "Plaxbridge");

    // Each missing argument is named by the editor program's own test; a
    // work directory that does not exist fails the session as well.
    EditorOptions missingWork;
    ASSERT_TRUE(missingWork.parse({"-mKX9C", "uid=a", "work=/no/such/dir/here", "port=1", "appname=x"}, &error));
    EXPECT_FALSE(missingWork.checkSession(&error));
}

TEST(EditorOptionsTest, MalformedArgumentsAreRefused)
{
    const QList<QStringList> bad = {
        {"-mXYZ"}, {"port=0"}, {"port=65536"}, {"port=12ab"}, {"uid=a", "uid=b"}, {"colour=red"},
        {"--frobnicate"}, {"--delay-ms=-1"}, {"--delay-ms="}, {"--close-after=0"}, {"--exit-after=x"},
        {"--log"}, {"--force-type=abc"}, {"--force-type=64:"}, {"--ng-match="}, {"--no-ready=1"}, {"stray"},
    };
    for (const QStringList& args : bad) {
        EditorOptions o;
        QString error;
        EXPECT_FALSE(o.parse(args, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(EditorOptionsTest, FaultOptionsAreRead)
{
    EditorOptions o;
    QString error;
    ASSERT_TRUE(o.parse({"--log", "/tmp/a.log", "--delay-ms=25", "--ready-delay-ms=7", "--no-ready", "--no-announce",
                         "--ng-match=Fader", "--ng-match=Label", "--drop-cmd=set_save", "--close-after=3",
                         "--exit-after=4", "--byte-by-byte", "--garbage-before-reply", "--force-type=3:Fader/Level",
                         "--initial=x.KX9F", "--write-default=d.KX9F"},
                        &error))
        << error.toStdString();
    EXPECT_EQ(o.logPath, "/tmp/a.log");
    EXPECT_EQ(o.delayMs, 25);
    EXPECT_EQ(o.readyDelayMs, 7);
    EXPECT_TRUE(o.noReady);
    EXPECT_TRUE(o.noAnnounce);
    EXPECT_EQ(o.ngMatch, QStringList({"Fader", "Label"}));
    EXPECT_EQ(o.dropCmd, QStringList({"set_save"}));
    EXPECT_EQ(o.closeAfter, 3);
    EXPECT_EQ(o.exitAfter, 4);
    EXPECT_TRUE(o.byteByByte);
    EXPECT_TRUE(o.garbageBeforeReply);
    ASSERT_EQ(o.forcedTypes.size(), 1);
    EXPECT_EQ(o.forcedTypes[0].first, "Fader/Level");
    EXPECT_EQ(o.forcedTypes[0].second, 3);
    EXPECT_EQ(o.initialFile, "x.KX9F");
    EXPECT_EQ(o.writeDefault, "d.KX9F");
}

TEST(EditorOptionsTest, EnvironmentOptionsSplitOnWhitespace)
{
    qputenv(EditorOptions::EnvironmentVariable, "  --delay-ms=5 \t--log  /tmp/x.log\n");
    EXPECT_EQ(EditorOptions::environmentArguments(), QStringList({"--delay-ms=5", "--log", "/tmp/x.log"}));
    qunsetenv(EditorOptions::EnvironmentVariable);
    EXPECT_TRUE(EditorOptions::environmentArguments().isEmpty());
}
