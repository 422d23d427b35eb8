#include "params/ParameterCatalog.h"
#include "params/ValueNameTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>

namespace {

const char* const kIcon = "/Mixing/InputChannel/Label/Icon/MMS";
const char* const kBusType = "/Mixing/Mix/BusType/MMS";
const char* const kFxType = "/FX/FX/Param:0/PluginName:0/MMS";
const char* const kPluginType = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS";

// Index of the terminator slot, -1 when there is none.
int terminatorSlot(int table)
{
    const ValueNameEntry* t = ValueNameTables::table(table);
    for (int i = 0; i < ValueNameTables::SlotsPerTable; ++i) {
        if (std::strcmp(t[i].text, ValueNameTables::Terminator) == 0)
            return i;
    }
    return -1;
}

} // namespace

// Every table: its used entries, then a terminator holding the not-found
// value.
TEST(ValueNameTables, TableSweep)
{
    EXPECT_EQ(ValueNameTables::table(-1), nullptr);
    EXPECT_EQ(ValueNameTables::table(ValueNameTables::TableCount), nullptr);
    const int used[] = {56, 11, 4, 8, 4, 2, 1, 2, 3, 4, 2, 6, 2, 30, 34, 6, 4, 4};
    const int notFound[] = {56, 11, 5, 10, 10, 6, 5, 5, 5, 5, 5, 10, 3, 30, 60, 6, 4, 4};
    for (int t = 0; t < ValueNameTables::TableCount; ++t) {
        SCOPED_TRACE(t);
        const ValueNameEntry* slots = ValueNameTables::table(t);
        const int end = terminatorSlot(t);
        ASSERT_EQ(end, used[t]);
        EXPECT_EQ(slots[end].value, notFound[t]);
    }
    // The effect and plug-in types: value k in slot k, distinct texts, then
    // the empty type.
    for (const auto& [table, count, empty] : {std::tuple{13, 29, 29}, std::tuple{14, 33, 59}}) {
        const ValueNameEntry* slots = ValueNameTables::table(table);
        std::set<std::string> texts;
        for (int v = 0; v < count; ++v) {
            EXPECT_EQ(slots[v].value, v) << table;
            EXPECT_TRUE(texts.insert(slots[v].text).second && slots[v].text[0]) << table << ":" << v;
        }
        EXPECT_EQ(slots[count].value, empty);
        EXPECT_STREQ(slots[count].text, "");
    }
}

// Every binding: unique, counted per table, in the catalogue but for the
// knee, de-esser type and filter on/off parameters; every used slot answers
// both ways (the first slot holding a value or text wins).
TEST(ValueNameTables, BindingSweep)
{
    const int perTable[] = {5, 5, 16, 10, 8, 4, 6, 2, 1, 1, 2, 30, 10, 1, 1, 3, 2, 2};
    int counts[ValueNameTables::TableCount] = {};
    std::set<std::string> names;
    int outsideCatalogue = 0;
    for (std::size_t i = 0; i < ValueNameTables::BindingCount; ++i) {
        const ValueNameBinding& b = ValueNameTables::bindings()[i];
        const std::string n = b.name;
        SCOPED_TRACE(n);
        ASSERT_TRUE(b.table >= 0 && b.table < ValueNameTables::TableCount);
        ++counts[b.table];
        EXPECT_TRUE(names.insert(n).second) << "duplicate";
        if (!ParameterCatalog::find(n)) {
            ++outsideCatalogue;
            EXPECT_TRUE(n.find("/Knee/MMS") != std::string::npos || n.find("/DeEsser/Type/MMS") != std::string::npos ||
                        n.find("/FilterType/OnOff/MMS") != std::string::npos);
        }
        const ValueNameEntry* slots = ValueNameTables::table(b.table);
        const int end = terminatorSlot(b.table);
        for (int s = 0; s < end; ++s) {
            int firstWithValue = 0, firstWithText = 0;
            while (slots[firstWithValue].value != slots[s].value)
                ++firstWithValue;
            while (std::strcmp(slots[firstWithText].text, slots[s].text) != 0)
                ++firstWithText;
            EXPECT_EQ(ValueNameTables::FindValueName(n, slots[s].value), slots[firstWithValue].text) << s;
            EXPECT_EQ(ValueNameTables::FindValueByName(n, slots[s].text), slots[firstWithText].value) << s;
        }
        EXPECT_EQ(ValueNameTables::FindValueName(n, slots[end].value), nullptr);
        EXPECT_EQ(ValueNameTables::FindValueByName(n, "no such text"), slots[end].value);
    }
    for (int t = 0; t < ValueNameTables::TableCount; ++t)
        EXPECT_EQ(counts[t], perTable[t]) << "table " << t;
    EXPECT_EQ(outsideCatalogue, 46);
}

TEST(ValueNameTables, TellingLookups)
{
    EXPECT_STREQ(ValueNameTables::FindValueName(kIcon, 55), "Mallet");
    // Exact bytes: case, prefixes, extensions and embedded NULs do not match,
    // nor does the terminator's own text.
    for (const std::string& text : {std::string("mallet"), std::string("Mallets"), std::string("Mallet\0x", 8),
                                    std::string(ValueNameTables::Terminator)})
        EXPECT_EQ(ValueNameTables::FindValueByName(kIcon, text), 56) << text;
    // The effect-type variants ("<type>/<tag>") share the type's table.
    for (const char* variant : {"/FX/FX/Param:0/PluginName:0/MMS/Rev", "/FX/FX/Param:0/PluginName:0/MMS/AmpSim"}) {
        EXPECT_STREQ(ValueNameTables::FindValueName(variant, 4), ValueNameTables::table(13)[4].text) << variant;
        EXPECT_EQ(ValueNameTables::FindValueByName(variant, ValueNameTables::table(13)[27].text), 27) << variant;
    }
    for (const std::string& n : {std::string("/Mixing/InputChannel/Fader/Level/MMS"), std::string("/mixing/mix/bustype/mms"),
                                 std::string(kBusType) + "/", std::string(), std::string(kFxType) + "/",
                                 std::string(kFxType) + "/Rev/x", std::string(kPluginType) + "/Rev"}) {
        EXPECT_EQ(ValueNameTables::FindValueByName(n, "VARI"), 0) << n;
        EXPECT_EQ(ValueNameTables::FindValueName(n, 0), nullptr) << n;
    }
}
