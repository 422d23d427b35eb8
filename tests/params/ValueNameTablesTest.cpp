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
const char* const kGeqType = "/Mixing/GEQRack2/Type:0/MMS";

bool isTerminator(const ValueNameEntry& e)
{
    return std::strcmp(e.text, ValueNameTables::Terminator) == 0;
}

// Index of the terminator slot, -1 when there is none.
int terminatorSlot(int table)
{
    const ValueNameEntry* t = ValueNameTables::table(table);
    for (int i = 0; i < ValueNameTables::SlotsPerTable; ++i) {
        if (isTerminator(t[i]))
            return i;
    }
    return -1;
}

} // namespace

TEST(ValueNameTables, LayoutTerminatorsAndZeroTails)
{
    EXPECT_STREQ(ValueNameTables::Terminator, "null_terminated_string");
    EXPECT_EQ(ValueNameTables::table(-1), nullptr);
    EXPECT_EQ(ValueNameTables::table(ValueNameTables::TableCount), nullptr);
    // Used entries and terminator value of each table.
    const int used[] = {56, 11, 4, 8, 4, 2, 1, 2, 3, 4, 2, 6, 2, 30, 34, 6, 4, 4};
    const int notFound[] = {56, 11, 5, 10, 10, 6, 5, 5, 5, 5, 5, 10, 3, 30, 60, 6, 4, 4};
    const ValueNameEntry* first = ValueNameTables::table(0);
    for (int t = 0; t < ValueNameTables::TableCount; ++t) {
        SCOPED_TRACE(t);
        const ValueNameEntry* slots = ValueNameTables::table(t);
        ASSERT_EQ(slots, first + t * ValueNameTables::SlotsPerTable) << "tables are one array";
        const int end = terminatorSlot(t);
        EXPECT_EQ(end, used[t]);
        ASSERT_GE(end, 0);
        EXPECT_EQ(slots[end].value, notFound[t]);
        for (int i = 0; i < ValueNameTables::SlotsPerTable; ++i) {
            EXPECT_NE(std::memchr(slots[i].text, '\0', sizeof slots[i].text), nullptr) << "slot " << i;
            if (i < end) {
                EXPECT_FALSE(isTerminator(slots[i])) << "slot " << i;
            }
            if (i > end) {
                static const char zeros[sizeof(ValueNameEntry::text)] = {};
                EXPECT_EQ(slots[i].value, 0) << "slot " << i;
                EXPECT_EQ(std::memcmp(slots[i].text, zeros, sizeof zeros), 0) << "slot " << i;
            }
        }
    }
}

TEST(ValueNameTables, BindingsPerTableAndCatalogueOverlap)
{
    const int perTable[] = {5, 5, 16, 10, 8, 4, 6, 2, 1, 1, 2, 30, 10, 1, 1, 3, 2, 2};
    int counts[ValueNameTables::TableCount] = {};
    std::set<std::string> names;
    int outsideCatalogue = 0;
    for (std::size_t i = 0; i < ValueNameTables::BindingCount; ++i) {
        const ValueNameBinding& b = ValueNameTables::bindings()[i];
        const std::string n = b.name;
        SCOPED_TRACE(n);
        ASSERT_GE(b.table, 0);
        ASSERT_LT(b.table, ValueNameTables::TableCount);
        ++counts[b.table];
        EXPECT_TRUE(names.insert(n).second) << "duplicate";
        if (ParameterCatalog::find(n))
            continue;
        ++outsideCatalogue;
        // Only the knee, de-esser type and filter on/off parameters lack a row.
        const bool expected = n.find("/Knee/MMS") != std::string::npos ||
                              n.find("/DeEsser/Type/MMS") != std::string::npos ||
                              n.find("/FilterType/OnOff/MMS") != std::string::npos;
        EXPECT_TRUE(expected);
    }
    for (int t = 0; t < ValueNameTables::TableCount; ++t)
        EXPECT_EQ(counts[t], perTable[t]) << "table " << t;
    EXPECT_EQ(outsideCatalogue, 46);
}

TEST(ValueNameTables, EveryBoundValueRoundTrips)
{
    for (std::size_t i = 0; i < ValueNameTables::BindingCount; ++i) {
        const ValueNameBinding& b = ValueNameTables::bindings()[i];
        const ValueNameEntry* slots = ValueNameTables::table(b.table);
        const int end = terminatorSlot(b.table);
        for (int s = 0; s < end; ++s) {
            SCOPED_TRACE(std::string(b.name) + " slot " + std::to_string(s));
            // The first slot holding the value answers, and the first slot
            // holding its text answers back.
            int firstWithValue = 0;
            while (slots[firstWithValue].value != slots[s].value)
                ++firstWithValue;
            int firstWithText = 0;
            while (std::strcmp(slots[firstWithText].text, slots[s].text) != 0)
                ++firstWithText;
            EXPECT_EQ(ValueNameTables::FindValueName(b.name, slots[s].value), slots[firstWithValue].text);
            EXPECT_EQ(ValueNameTables::FindValueByName(b.name, slots[s].text), slots[firstWithText].value);
        }
        EXPECT_EQ(ValueNameTables::FindValueName(b.name, slots[end].value), nullptr) << b.name;
        EXPECT_EQ(ValueNameTables::FindValueByName(b.name, "no such text"), slots[end].value) << b.name;
    }
}

TEST(ValueNameTables, IconsAtTheEndOfTheTable)
{
    EXPECT_STREQ(ValueNameTables::FindValueName(kIcon, 55), "Mallet");
    EXPECT_STREQ(ValueNameTables::FindValueName("/Mixing/DCA/Label/Icon/MMS", 0), "Kick");
    EXPECT_EQ(ValueNameTables::FindValueName(kIcon, 56), nullptr);
    EXPECT_EQ(ValueNameTables::FindValueName(kIcon, 1000), nullptr);
    EXPECT_EQ(ValueNameTables::FindValueByName(kIcon, "Mallet"), 55);
    EXPECT_EQ(ValueNameTables::FindValueByName(kIcon, "Banjo"), 56);
    // Exact bytes: case, prefixes, extensions and embedded NULs do not match.
    EXPECT_EQ(ValueNameTables::FindValueByName(kIcon, "mallet"), 56);
    EXPECT_EQ(ValueNameTables::FindValueByName(kIcon, "Mallets"), 56);
    EXPECT_EQ(ValueNameTables::FindValueByName(kIcon, std::string("Mallet\0x", 8)), 56);
    // The terminator text is not a value of the table.
    EXPECT_EQ(ValueNameTables::FindValueByName("/Mixing/Mix/Label/Color/MMS", "null_terminated_string"), 11);
}

TEST(ValueNameTables, FirstMatchAndEmptyTexts)
{
    EXPECT_EQ(ValueNameTables::FindValueByName(kBusType, "VARI"), 0);
    EXPECT_STREQ(ValueNameTables::FindValueName(kBusType, 2), "VARI");
    EXPECT_EQ(ValueNameTables::FindValueByName(kGeqType, ""), 0);
    EXPECT_EQ(ValueNameTables::FindValueByName(kGeqType, "Automixer64"), 5);
    EXPECT_STREQ(ValueNameTables::FindValueName("/Mixing/GEQRack2/Type:0/MMSGEQ", 0), "");
    EXPECT_EQ(ValueNameTables::FindValueByName(kGeqType, "automixer64"), 6);
    EXPECT_EQ(ValueNameTables::FindValueByName("/FX/FX/Param:0/PluginName:0/MMS", ""), 29);
    EXPECT_STREQ(ValueNameTables::FindValueName("/FX/FX/Param:0/PluginName:0/MMS", 29), "");
    EXPECT_EQ(ValueNameTables::FindValueName("/FX/FX/Param:0/PluginName:0/MMS", 30), nullptr);
    EXPECT_EQ(ValueNameTables::FindValueByName("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", ""), 59);
    EXPECT_EQ(ValueNameTables::FindValueName("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", 33), nullptr);
    // Bound names that have no catalogue row still translate.
    EXPECT_EQ(ValueNameTables::FindValueByName("/Mixing/Stereo/Dynamics:0/Bank:1/Expander/Knee/MMS", "SOFT-5"), 5);
    EXPECT_STREQ(ValueNameTables::FindValueName("/Mixing/Matrix/Dynamics:0/Bank:0/DeEsser/Type/MMS", 1), "HIGH SHELF");
}

TEST(ValueNameTables, UnboundNames)
{
    for (const std::string& n : {std::string("/Mixing/InputChannel/Fader/Level/MMS"),
                                 std::string("/mixing/mix/bustype/mms"), std::string(kBusType) + "/", std::string()}) {
        EXPECT_EQ(ValueNameTables::FindValueByName(n, "VARI"), 0) << n;
        EXPECT_EQ(ValueNameTables::FindValueName(n, 0), nullptr) << n;
    }
}

TEST(ValueNameTables, EffectAndPluginTypeNames)
{
    for (const auto& [table, count, empty] : {std::tuple{13, 29, 29}, std::tuple{14, 33, 59}}) {
        const ValueNameEntry* slots = ValueNameTables::table(table);
        std::set<std::string> texts;
        for (int v = 0; v < count; ++v) {
            EXPECT_EQ(slots[v].value, v) << table;
            EXPECT_GT(std::strlen(slots[v].text), 0u) << table << ":" << v;
            EXPECT_TRUE(texts.insert(slots[v].text).second) << "duplicate " << slots[v].text;
        }
        EXPECT_EQ(slots[count].value, empty);
        EXPECT_STREQ(slots[count].text, "");
    }
}
