#include "PlaxbridgeProcess.h"

#include <gtest/gtest.h>

TEST(PlaxbridgeShell, GetMixerIdThroughThePlugIn)
{
    const auto r = PlaxbridgeProcess::shell({QStringLiteral("GetMixerId")});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.outLines(), QStringList{QStringLiteral("= \"QORA\"")});
}
