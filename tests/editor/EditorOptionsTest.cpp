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
