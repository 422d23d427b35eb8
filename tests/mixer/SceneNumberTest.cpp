#include "mixer/SceneNumber.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(SceneNumber, HostNumbersAndConsoleTexts)
{
    // host number <-> console text with two decimals
    const std::pair<int, const char*> both[] = {
        {0, "0.00"}, {5, "0.05"}, {123, "1.23"}, {1250, "12.50"}, {30000, "300.00"}, {SceneNumber::Parking, "999.99"}};
    for (const auto& [number, text] : both) {
        EXPECT_EQ(SceneNumber::text(number), text);
        EXPECT_EQ(SceneNumber::fromRowText(text), number) << text;
    }
    // Leading blanks and trailing junk are passed over; only the first "."
    // goes; a whole number is a console number without decimals.
    const std::pair<const char*, int> rows[] = {{" 1.23", 123}, {"1.23abc", 123}, {"1.2.3", 12}, {"12", 1200}};
    for (const auto& [text, number] : rows)
        EXPECT_EQ(SceneNumber::fromRowText(text), number) << text;
    EXPECT_THROW(SceneNumber::fromRowText("abc"), std::invalid_argument);
    EXPECT_THROW(SceneNumber::fromRowText(".x"), std::invalid_argument);
    EXPECT_THROW(SceneNumber::fromRowText("99999999999.99"), std::out_of_range);
    EXPECT_THROW(SceneNumber::fromRowText("30000000"), std::out_of_range);
}
