#include "PlaxbridgeProcess.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PlaxbridgeConvert, MissingSourceIsRefused)
{
    QTemporaryDir dir;
    const auto r = PlaxbridgeProcess::run({QStringLiteral("convert"), dir.filePath(QStringLiteral("none.json")),
                                           dir.filePath(QStringLiteral("out.KX9F"))});
    ASSERT_TRUE(r.finished);
    EXPECT_NE(r.exitCode, 0);
}
