#include "mixer/LibraryCategories.h"

#include "host/IConversionDescription.h"

#include <QString>

namespace {

constexpr int ConvertedLibraries[] = {
    3, 4, 7, 5, 6, 22, 9,
    31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56,
    58, 59, 60, 8, 16, 15, 25, 11, 12, 13, 14, 23, 24,
};

struct CategoryRow {
    int first;
    int last;
    int category; // for a range: category of `first`, rising with the index
};

constexpr CategoryRow Categories[] = {
    {0, 0, 16},    {1, 1, 55},   {2, 2, 56},   {3, 3, 53},   {4, 4, 61},   {5, 5, 49},
    {6, 6, 60},    {7, 7, 62},   {8, 8, 54},   {9, 9, 52},   {10, 10, 59}, {11, 16, 128},
    {22, 22, 63},  {23, 23, 134}, {24, 24, 138}, {25, 25, 140}, {31, 60, 144},
};

constexpr int PeqLibrary = 6;
constexpr int Peq8Library = 22;
constexpr int PeqCategory = 60;

bool selected(const IConversionDescription* description, const char* option)
{
    return description->GetOption(QString::fromLatin1(option)) == 1;
}

} // namespace

const char* const LibraryCategories::FromPeq8Option = "Convert from 8Band PEQ Library";
const char* const LibraryCategories::ToPeq8Option = "Convert to 8Band PEQ Library";

std::vector<int> LibraryCategories::librariesToConvert()
{
    return std::vector<int>(std::begin(ConvertedLibraries), std::end(ConvertedLibraries));
}

int LibraryCategories::categoryId(int libraryIndex)
{
    for (const CategoryRow& row : Categories) {
        if (libraryIndex >= row.first && libraryIndex <= row.last)
            return row.category + (libraryIndex - row.first);
    }
    return -1;
}

int LibraryCategories::categoryId(int libraryIndex, IConversionDescription* description)
{
    // Every table index but the two PEQ libraries answers from the table.
    const int category = categoryId(libraryIndex);
    if (category != -1 && libraryIndex != PeqLibrary && libraryIndex != Peq8Library)
        return category;
    bool peq8 = false;
    if (description) {
        const bool from = selected(description, FromPeq8Option);
        const bool to = selected(description, ToPeq8Option);
        peq8 = from || to;
    }
    if (peq8)
        return libraryIndex == Peq8Library ? PeqCategory : -1;
    return libraryIndex == PeqLibrary ? PeqCategory : -1;
}

int LibraryCategories::libraryMax(int library)
{
    switch (library) {
    case 5:
    case 6:
    case 7:
    case 8:
    case 22:
        return 199;
    default:
        return 100;
    }
}
