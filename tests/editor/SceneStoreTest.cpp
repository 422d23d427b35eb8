#include "SceneStore.h"

#include <gtest/gtest.h>

TEST(SceneStoreTest, SceneNumbersHaveTwoDecimals)
{
    int n = -1;
    EXPECT_TRUE(SceneStore::parseSceneNumber("1.23", &n));
    EXPECT_EQ(n, 123);
    EXPECT_TRUE(SceneStore::parseSceneNumber("0.05", &n));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(SceneStore::parseSceneNumber("999.99", &n));
    EXPECT_EQ(n, 99999);
    EXPECT_TRUE(SceneStore::parseSceneNumber("0.00", &n));
    EXPECT_EQ(n, 0);
    for (const char* bad : {"1.2", "1", "1.234", "1000.00", "-1.00", " 1.23", "1.23 ", "a.bc", "", ".23", "1,23"})
        EXPECT_FALSE(SceneStore::parseSceneNumber(bad, &n)) << bad;

    EXPECT_EQ(SceneStore::formatSceneNumber(123), "1.23");
    EXPECT_EQ(SceneStore::formatSceneNumber(5), "0.05");
    EXPECT_EQ(SceneStore::formatSceneNumber(1250), "12.50");
    EXPECT_EQ(SceneStore::formatSceneNumber(99999), "999.99");
}

TEST(SceneStoreTest, ListAddressesCoverRowsZeroTo499)
{
    int row = -1;
    EXPECT_TRUE(SceneStore::parseListAddress("/SceneList/Bank:0/Info:0/SceneNumber:0", &row));
    EXPECT_EQ(row, 0);
    EXPECT_TRUE(SceneStore::parseListAddress("/SceneList/Bank:0/Info:499/SceneNumber:0", &row));
    EXPECT_EQ(row, 499);
    for (const char* bad : {"/SceneList/Bank:0/Info:500/SceneNumber:0", "/SceneList/Bank:0/Info:01/SceneNumber:0",
                            "/SceneList/Bank:1/Info:0/SceneNumber:0", "/SceneList/Bank:0/Info:-1/SceneNumber:0",
                            "/SceneList/Bank:0/Info:0/SceneNumber:1", "/SceneList/Bank:0/Info:0/SceneNumber:0/x"})
        EXPECT_FALSE(SceneStore::parseListAddress(bad, &row)) << bad;
}

TEST(SceneStoreTest, RowsListStoredScenesInAscendingOrder)
{
    SceneStore store;
    EXPECT_EQ(store.listRow(0), "");
    for (int n : {1250, 123, 300, 99999})
        store.store(n, SceneMemory());
    EXPECT_EQ(store.listRow(0), "1.23");
    EXPECT_EQ(store.listRow(1), "3.00");
    EXPECT_EQ(store.listRow(2), "12.50");
    EXPECT_EQ(store.listRow(3), "999.99");
    EXPECT_EQ(store.listRow(4), "");
    EXPECT_EQ(store.listRow(499), "");
    // Storing again replaces, it does not add a row.
    store.store(300, SceneMemory());
    EXPECT_EQ(store.count(), 4);
}

TEST(SceneStoreTest, TimeStampsAreFourteenDigitsOfARealDate)
{
    EXPECT_TRUE(SceneStore::isValidTimeStamp("20240229235959"));
    EXPECT_FALSE(SceneStore::isValidTimeStamp("20230229120000"));
    EXPECT_FALSE(SceneStore::isValidTimeStamp("20241301120000"));
    EXPECT_FALSE(SceneStore::isValidTimeStamp("2024010112000"));
    EXPECT_FALSE(SceneStore::isValidTimeStamp("202401011200000"));
    EXPECT_FALSE(SceneStore::isValidTimeStamp("2024-1-1120000"));
    EXPECT_FALSE(SceneStore::isValidTimeStamp(""));
}
