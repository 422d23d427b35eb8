#pragma once

#include <vector>

class IConversionDescription;

// Fixed answers about the console's preset libraries: which library
// indexes are converted, their capacity and their host category ids.
// Libraries 6 and 22 share category 60: which of them is converted depends
// on the 8-band PEQ options of the running conversion.
class LibraryCategories
{
public:
    static const char* const FromPeq8Option; // "Convert from 8Band PEQ Library"
    static const char* const ToPeq8Option;   // "Convert to 8Band PEQ Library"

    // 46 indexes in conversion order; a new vector each call.
    static std::vector<int> librariesToConvert();
    // -1 for an index without a category.
    static int categoryId(int libraryIndex);
    static int categoryId(int libraryIndex, IConversionDescription* description);
    static int libraryMax(int library);
};
