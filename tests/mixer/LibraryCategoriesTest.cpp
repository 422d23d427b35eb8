#include "MapMixer.h"

#include "host/IConversionDescription.h"
#include "mixer/DataDecoder.h"
#include "mixer/DataEncoder.h"
#include "mixer/LibraryCategories.h"

#include <gtest/gtest.h>

#include <QMap>
#include <set>

namespace {

class Description : public IConversionDescription
{
public:
    IFileDescription* GetSource() const override { return nullptr; }
    IFileDescription* GetTarget() const override { return nullptr; }
    std::string GetSourceMixerId() const override { return "RQ10"; }
    std::string GetTargetMixerId() const override { return "QORA"; }
    void SetOption(QString name, int state) override { options[name] = state; }
    int GetOption(QString name) const override
    {
        asked.append(name);
        return options.value(name, -1);
    }

    QMap<QString, int> options;
    mutable QStringList asked;
};

class CategoryMixer : public MapMixer
{
public:
    CategoryMixer()
        : MapMixer("STUB")
    {
    }
    int LibraryIndexToCategoryId(int index) override
    {
        ++categoryCalls;
        lastCategoryIndex = index;
        return 7;
    }
    int categoryCalls = 0;
    int lastCategoryIndex = -100;
};

} // namespace

TEST(LibraryCategories, TableWithoutDescription)
{
    const int expected[][2] = {{0, 16}, {1, 55}, {2, 56}, {3, 53}, {4, 61}, {5, 49}, {6, 60}, {7, 62},
                               {8, 54}, {9, 52}, {10, 59}, {11, 128}, {16, 133}, {22, 63}, {23, 134},
                               {24, 138}, {25, 140}, {31, 144}, {57, 170}, {60, 173}};
    for (const auto& row : expected)
        EXPECT_EQ(LibraryCategories::categoryId(row[0]), row[1]) << row[0];
    for (int index : {-1, 17, 21, 26, 30, 61, 1000})
        EXPECT_EQ(LibraryCategories::categoryId(index), -1) << index;
}

TEST(LibraryCategories, PeqLibrariesFollowTheOptions)
{
    Description notOffered;
    EXPECT_EQ(LibraryCategories::categoryId(6, &notOffered), 60);
    EXPECT_EQ(LibraryCategories::categoryId(22, &notOffered), -1);
    EXPECT_EQ(notOffered.asked, QStringList({LibraryCategories::FromPeq8Option, LibraryCategories::ToPeq8Option,
                                             LibraryCategories::FromPeq8Option, LibraryCategories::ToPeq8Option}));

    Description to;
    to.SetOption("Convert to 8Band PEQ Library", 1);
    EXPECT_EQ(LibraryCategories::categoryId(22, &to), 60);
    EXPECT_EQ(LibraryCategories::categoryId(6, &to), -1);
    EXPECT_EQ(LibraryCategories::categoryId(57, &to), 170);

    Description from;
    from.SetOption("Convert from 8Band PEQ Library", 1);
    from.SetOption("Convert to 8Band PEQ Library", 0);
    EXPECT_EQ(LibraryCategories::categoryId(22, &from), 60);
    EXPECT_EQ(LibraryCategories::categoryId(6, &from), -1);

    Description offeredNotSelected;
    offeredNotSelected.SetOption("Convert from 8Band PEQ Library", 0);
    offeredNotSelected.SetOption("Convert to 8Band PEQ Library", 0);
    EXPECT_EQ(LibraryCategories::categoryId(6, &offeredNotSelected), 60);
    EXPECT_EQ(LibraryCategories::categoryId(22, &offeredNotSelected), -1);

    for (int index : {61, -1, 17})
        EXPECT_EQ(LibraryCategories::categoryId(index, &to), -1) << index;
    EXPECT_EQ(LibraryCategories::categoryId(5, &to), 49);
    // Table indexes do not ask.
    Description quiet;
    LibraryCategories::categoryId(3, &quiet);
    EXPECT_TRUE(quiet.asked.isEmpty());
}

TEST(LibraryCategories, LibrariesToConvert)
{
    const std::vector<int> list = LibraryCategories::librariesToConvert();
    ASSERT_EQ(list.size(), 46u);
    EXPECT_EQ(std::vector<int>(list.begin(), list.begin() + 7), std::vector<int>({3, 4, 7, 5, 6, 22, 9}));
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(list[7 + i], 31 + i);
    EXPECT_EQ(std::vector<int>(list.begin() + 33, list.end()),
              std::vector<int>({58, 59, 60, 8, 16, 15, 25, 11, 12, 13, 14, 23, 24}));
    EXPECT_EQ(std::set<int>(list.begin(), list.end()).size(), 46u);
    // Every converted library has a category.
    for (int index : list)
        EXPECT_NE(LibraryCategories::categoryId(index), -1) << index;
}

TEST(LibraryCategories, LibraryMax)
{
    for (int library : {5, 6, 7, 8, 22})
        EXPECT_EQ(LibraryCategories::libraryMax(library), 199) << library;
    for (int library : {-1, 0, 4, 9, 21, 23, 60})
        EXPECT_EQ(LibraryCategories::libraryMax(library), 100) << library;
}

TEST(DataCoders, EncoderAsksItsMixerAndCarriesNoData)
{
    CategoryMixer mixer;
    IDataEncoder* encoder = new DataEncoder(&mixer);
    unsigned int size = 77;
    encoder->Begin();
    EXPECT_EQ(encoder->EncodeHeader(nullptr, 10, &size), 0);
    EXPECT_EQ(mixer.categoryCalls, 0);
    EXPECT_EQ(encoder->EncodeLibrary(31, 2, nullptr, &size), 0);
    EXPECT_EQ(mixer.categoryCalls, 1);
    EXPECT_EQ(mixer.lastCategoryIndex, 31);
    EXPECT_EQ(encoder->EncodeEntry(31, 2, nullptr, &size), 0);
    EXPECT_EQ(encoder->End(&size), 0);
    EXPECT_EQ(size, 77u);
    EXPECT_EQ(mixer.categoryCalls, 1);
    encoder->Release();

    IDataDecoder* decoder = new DataDecoder;
    decoder->Begin("abc", 3);
    EXPECT_EQ(decoder->Decode(5, nullptr, &size), 0);
    decoder->Release();
}
