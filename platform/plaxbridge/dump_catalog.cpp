// Build-time tool: writes the KX9 catalogue's parameter names, one per line
// in catalogue order, to the file given as its first argument, and, given a
// second, the value-name tables as "NAME<TAB>VALUE<TAB>TEXT" lines, one per
// bound name and entry. The host program reads these lists instead of
// linking the plug-in's internals.
#include "params/ParameterCatalog.h"
#include "params/ValueNameTables.h"

#include <cstdio>
#include <cstring>

namespace {

bool writeNames(std::FILE* out)
{
    const CatalogEntry* entries = ParameterCatalog::entries();
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i)
        std::fprintf(out, "%s\n", entries[i].name);
    return true;
}

bool writeValueNames(std::FILE* out)
{
    const ValueNameBinding* bindings = ValueNameTables::bindings();
    for (std::size_t i = 0; i < ValueNameTables::BindingCount; ++i) {
        const ValueNameEntry* table = ValueNameTables::table(bindings[i].table);
        for (int slot = 0; table && slot < ValueNameTables::SlotsPerTable; ++slot) {
            if (std::strcmp(table[slot].text, ValueNameTables::Terminator) == 0)
                break;
            std::fprintf(out, "%s\t%d\t%s\n", bindings[i].name, table[slot].value, table[slot].text);
        }
    }
    return true;
}

int write(const char* path, bool (*writer)(std::FILE*))
{
    std::FILE* out = std::fopen(path, "w");
    if (!out) {
        std::perror(path);
        return 1;
    }
    writer(out);
    if (std::fclose(out) != 0) {
        std::perror(path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT [VALUE_NAMES]\n", argv[0]);
        return 2;
    }
    if (write(argv[1], writeNames) != 0)
        return 1;
    return argc == 3 ? write(argv[2], writeValueNames) : 0;
}
