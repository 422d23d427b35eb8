#include "EditorHarness.h"

#include "mixer/LibraryCategories.h"

#include <gtest/gtest.h>

#include <QMap>
#include <set>

TEST(LibraryCategories, TableWithoutDescription)
{
    const int expected[][2] = {{0, 16}, {1, 55}, {2, 56}, {3, 53}, {4, 61}, {5, 49}, {6, 60}, {7, 62},
                               {8, 54}, {9, 52}, {10, 59}, {11, 128}, {16, 133}, {22, 63}, {23, 134},
                               {24, 138}, {25, 140}, {31, 144}, {57, 170}, {60, 173}};
    for (const auto& row : expected)
        EXPECT_EQ(LibraryCategories::categoryId(row[0]), row[1]) << row[0];
    for (int index : {-1, 17, 21, 26, 30, 61, 1000})
        EXPECT_EQ(LibraryCategories::categoryId(index), -1) << index;
    for (int library : {5, 6, 7, 8, 22})
        EXPECT_EQ(LibraryCategories::libraryMax(library), 199) << library;
    for (int library : {-1, 0, 4, 9, 21, 23, 60})
        EXPECT_EQ(LibraryCategories::libraryMax(library), 100) << library;
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
