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

TEST(SceneStoreTest, ListAddressesAndTimeStamps)
{
    int row = -1;
    EXPECT_TRUE(SceneStore::parseListAddress("/SceneList/Bank:0/Info:499/SceneNumber:0", &row));
    EXPECT_EQ(row, 499);
    for (const char* bad : {"/SceneList/Bank:0/Info:500/SceneNumber:0", "/SceneList/Bank:0/Info:01/SceneNumber:0",
                            "/SceneList/Bank:1/Info:0/SceneNumber:0", "/SceneList/Bank:0/Info:-1/SceneNumber:0",
                            "/SceneList/Bank:0/Info:0/SceneNumber:1", "/SceneList/Bank:0/Info:0/SceneNumber:0/x"})
        EXPECT_FALSE(SceneStore::parseListAddress(bad, &row)) << bad;
    // Fourteen digits of a real date.
    EXPECT_TRUE(SceneStore::isValidTimeStamp("20240229235959"));
    for (const char* bad : {"20230229120000", "20241301120000", "2024010112000", "202401011200000", "2024-1-1120000", ""})
        EXPECT_FALSE(SceneStore::isValidTimeStamp(bad)) << bad;
}
