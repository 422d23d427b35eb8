#include "mixer/SceneNumber.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(SceneNumber, TextHasTwoDecimals)
{
    EXPECT_EQ(SceneNumber::text(123), "1.23");
    EXPECT_EQ(SceneNumber::text(5), "0.05");
    EXPECT_EQ(SceneNumber::text(0), "0.00");
    EXPECT_EQ(SceneNumber::text(1250), "12.50");
    EXPECT_EQ(SceneNumber::text(30000), "300.00");
    EXPECT_EQ(SceneNumber::text(SceneNumber::Parking), "999.99");
}

TEST(SceneNumber, RowTextsToHostNumbers)
{
    EXPECT_EQ(SceneNumber::fromRowText("12.50"), 1250);
    EXPECT_EQ(SceneNumber::fromRowText("0.05"), 5);
    EXPECT_EQ(SceneNumber::fromRowText("999.99"), 99999);
    EXPECT_EQ(SceneNumber::fromRowText(" 1.23"), 123);
    EXPECT_EQ(SceneNumber::fromRowText("1.23abc"), 123);
    // Only the first "." goes.
    EXPECT_EQ(SceneNumber::fromRowText("1.2.3"), 12);
    // A whole number is a console number without decimals.
    EXPECT_EQ(SceneNumber::fromRowText("12"), 1200);
}

TEST(SceneNumber, BadRowTextsThrowTheStandardErrors)
{
    EXPECT_THROW(SceneNumber::fromRowText("abc"), std::invalid_argument);
    EXPECT_THROW(SceneNumber::fromRowText(".x"), std::invalid_argument);
    EXPECT_THROW(SceneNumber::fromRowText("99999999999.99"), std::out_of_range);
    EXPECT_THROW(SceneNumber::fromRowText("30000000"), std::out_of_range);
}
