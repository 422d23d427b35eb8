#include "SceneStore.h"

#include <gtest/gtest.h>

#include <utility>

TEST(SceneStoreTest, SceneNumbersHaveTwoDecimals)
{
    for (const auto& [text, number] : {std::pair{"1.23", 123}, {"0.05", 5}, {"999.99", 99999}, {"0.00", 0},
                                       {"12.50", 1250}}) {
        int n = -1;
        EXPECT_TRUE(SceneStore::parseSceneNumber(text, &n)) << text;
        EXPECT_EQ(n, number) << text;
        EXPECT_EQ(SceneStore::formatSceneNumber(number), text);
    }
    int n = -1;
    for (const char* bad : {"1.2", "1", "1.234", "1000.00", "-1.00", " 1.23", "1.23 ", "a.bc", "", ".23", "1,23"})
        EXPECT_FALSE(SceneStore::parseSceneNumber(bad, &n)) << bad;
}

TEST(SceneStoreTest, TimeStampsAreFourteenDigitsOfARealDate)
{
    EXPECT_TRUE(SceneStore::isValidTimeStamp("20240229235959"));
    for (const char* bad : {"20230229120000", "20241301120000", "2024010112000", "202401011200000", "2024-1-1120000", ""})
        EXPECT_FALSE(SceneStore::isValidTimeStamp(bad)) << bad;
}
