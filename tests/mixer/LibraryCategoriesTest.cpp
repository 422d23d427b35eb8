#include "EditorHarness.h"

#include "mixer/LibraryCategories.h"

#include <gtest/gtest.h>

#include <QMap>
#include <set>

TEST(LibraryCategories, TableWithoutDescription)
{
    // Telling rows: library index, category (-1: none), largest library entry.
    // The converted libraries are swept below.
    const int expected[][3] = {{0, 16, 100},  {5, 49, 199},  {11, 128, 100}, {17, -1, 100},
                               {22, 63, 199}, {61, -1, 100}, {-1, -1, 100},  {1000, -1, 100}};
    for (const auto& row : expected) {
        EXPECT_EQ(LibraryCategories::categoryId(row[0]), row[1]) << row[0];
        EXPECT_EQ(LibraryCategories::libraryMax(row[0]), row[2]) << row[0];
    }
}

// The PEQ category goes to the 4-band library (6) unless one of the two
// 8-band options is selected (1), then to the 8-band one (22).
TEST(LibraryCategories, PeqLibrariesFollowTheOptions)
{
    const QString from = LibraryCategories::FromPeq8Option, to = LibraryCategories::ToPeq8Option;
    const struct {
        QMap<QString, int> options;
        int peq;
        int peq8;
    } cases[] = {
        {{}, 60, -1}, {{{from, 0}, {to, 0}}, 60, -1}, {{{to, 1}}, -1, 60}, {{{from, 1}, {to, 0}}, -1, 60}};
    for (const auto& c : cases) {
        Conversion d("RQ10F", c.options);
        EXPECT_EQ(LibraryCategories::categoryId(6, &d), c.peq);
        EXPECT_EQ(LibraryCategories::categoryId(22, &d), c.peq8);
        for (int index : {61, -1, 17})
            EXPECT_EQ(LibraryCategories::categoryId(index, &d), -1) << index;
        EXPECT_EQ(LibraryCategories::categoryId(57, &d), 170);
    }
    // Table indexes other than the PEQ libraries do not ask.
    Conversion quiet;
    LibraryCategories::categoryId(3, &quiet);
    LibraryCategories::categoryId(6, &quiet);
    EXPECT_EQ(quiet.asked, QStringList({from, to}));
}

TEST(LibraryCategories, LibrariesToConvert)
{
    const std::vector<int> list = LibraryCategories::librariesToConvert();
    ASSERT_EQ(list.size(), 46u);
    EXPECT_EQ(std::set<int>(list.begin(), list.end()).size(), 46u);
    // Every converted library has a category.
    for (int index : list)
        EXPECT_NE(LibraryCategories::categoryId(index), -1) << index;
}
