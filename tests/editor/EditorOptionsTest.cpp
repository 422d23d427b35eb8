// The options' effects are tested through the editor program; here the
// arguments it must refuse.
#include "EditorOptions.h"

#include <gtest/gtest.h>

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

// Each session argument is named when it is missing.
TEST(EditorOptionsTest, MissingSessionArgumentsAreNamed)
{
    const QStringList session{"-mKX9C", "uid=a", "work=/", "port=1", "appname=x"};
    for (int i = 1; i < session.size(); ++i) {
        QStringList args = session;
        const QString missing = args.takeAt(i).section('=', 0, 0);
        EditorOptions o;
        QString error;
        ASSERT_TRUE(o.parse(args, &error)) << error.toStdString();
        EXPECT_FALSE(o.checkSession(&error));
        EXPECT_TRUE(error.startsWith("missing " + missing)) << error.toStdString();
    }
}
