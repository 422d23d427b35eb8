// Build-time tool: writes the KX9 catalogue's parameter names, one per line
// in catalogue order, to the file given as its argument. The host program
// reads that list instead of linking the plug-in's internals.
#include "params/ParameterCatalog.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const CatalogEntry* entries = ParameterCatalog::entries();
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i)
        std::fprintf(out, "%s\n", entries[i].name);
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
