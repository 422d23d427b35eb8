#include "MapMixer.h"

#include "host/AddParamConverter.h"
#include "host/ConstantConverter.h"
#include "host/ConverterException.h"
#include "host/CopyPasteTargetParamSetterConverter.h"
#include "host/CopyPasteValueWithTableConverter.h"
#include "host/CopyValueConverter.h"
#include "host/DivideValueConverter.h"
#include "host/IParameter.h"
#include "host/JudgeBankValueAndTableConverter.h"
#include "host/JudgeBankValueConverter.h"
#include "host/MapValueConverter.h"
#include "host/MultiplyValueConverter.h"
#include "host/OffsetValueConverter.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

namespace {

// The output a converter that refuses must leave as it was.
const int kRefused = -12345;

struct Row {
    IValueConverter* converter;
    int in;
    int out;   // kRefused: no value
    int channel = 0;
    int subOffset = 0;
};

void check(const std::vector<Row>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ConversionContext context;
        context.channel = rows[i].channel;
        context.subOffset = rows[i].subOffset;
        int out = kRefused;
        const bool written = rows[i].converter->Convert(context, rows[i].in, out);
        EXPECT_EQ(written, rows[i].out != kRefused) << "row " << i;
        EXPECT_EQ(out, rows[i].out) << "row " << i;
    }
}

} // namespace

TEST(ValueConverters, ArithmeticSaturatesMapsFollowTheirFlagAndTablesTakeTheNearestKey)
{
    CopyValueConverter copy;
    ConstantConverter constant(30);
    OffsetValueConverter minus16(-16), up(10), down(-10);
    MultiplyValueConverter times25(25), big(1 << 20);
    DivideValueConverter half(2), minusTwo(-2), minusOne(-1), zero(0);
    std::map<int, int> pairs{{1, 33}, {3, 100}};
    MapValueConverter passing(pairs, true), blocking(pairs, false);
    pairs.clear();   // the map converters hold copies
    std::map<int, int> table{{10, 100}, {20, 200}, {30, 300}};
    CopyPasteValueWithTableConverter nearest("/T/MMS", "/S/MMS", nullptr, nullptr, &table);
    CopyPasteValueWithTableConverter none("/T/MMS", "/S/MMS", nullptr, nullptr, nullptr);
    check({
        {&copy, -17, -17},          {&constant, 210, 30},           {&minus16, 3, -13},
        {&times25, -2, -50},        {&up, INT_MAX - 3, INT_MAX},    {&down, INT_MIN + 3, INT_MIN},
        {&big, 1 << 12, INT_MAX},   {&big, -(1 << 12), INT_MIN},    {&half, 71, 35},
        {&half, -71, -35},          {&minusTwo, 7, -3},             {&minusOne, INT_MIN, INT_MAX},
        {&zero, 10, kRefused},      {&passing, 3, 100},             {&passing, 4, 4},
        {&blocking, 1, 33},         {&blocking, 4, kRefused},       {&nearest, 20, 200},
        {&nearest, INT_MIN, 100},   {&nearest, INT_MAX, 300},       {&nearest, 14, 100},
        {&nearest, 16, 200},        {&nearest, 25, 200},            {&none, 1, kRefused},
    });   // 25 is halfway: the lower key wins
    // The table is read at conversion time, not copied.
    table = {{1, 17}};
    check({{&nearest, 30, 17}});
    table.clear();
    check({{&nearest, 1, kRefused}});
    EXPECT_EQ(nearest.sourceName(), "/S/MMS");
}

TEST(ValueConverters, ParameterConvertersReadTheirMixerAtTheChannelAndSubIndexPosition)
{
    MapMixer mixer("M");
    mixer.setRanges("/P/MMS", {0, 15, 8, 9});
    mixer.set("/P/MMS", 3, 40, 8);
    mixer.set("/P/MMS", 3, 41, 9);
    mixer.set("/P/MMS", 4, 77, 8);
    mixer.set("/Type/MMS", 0, 17);
    mixer.set("/Type/MMS", 1, 16);
    const std::map<int, int> table{{0, 5}, {127, 3970}};
    {
        CopyPasteTargetParamSetterConverter take(&mixer, mixer.CreateParameter("/P/MMS"));
        AddParamConverter add(&mixer, mixer.CreateParameter("/P/MMS"));
        JudgeBankValueConverter judge(&mixer, mixer.CreateParameter("/Type/MMS"), 17);
        JudgeBankValueAndTableConverter judgeTable(&mixer, mixer.CreateParameter("/Type/MMS"), 16, &table);
        check({
            {&take, 5, 40, 3},          {&take, 5, 77, 4},               {&take, 5, 41, 3, 1},
            {&take, 5, 41, 3, 5},       // past the parameter's last sub-index: the last one
            {&add, 30, 70, 3},          {&add, -40, 0, 3},               {&add, INT_MAX, INT_MAX, 3},
            {&judge, 123, 123, 0},      {&judge, 123, kRefused, 1},      {&judge, 123, kRefused, 2},   // unset: 0
            {&judgeTable, 100, 3970, 1}, {&judgeTable, 127, kRefused, 0},
        });
        EXPECT_EQ(add.parameter()->GetName(), "/P/MMS");
        EXPECT_EQ(mixer.liveParameters, 4);
    }
    EXPECT_EQ(mixer.liveParameters, 0);
}

TEST(ValueConverters, BadArgumentsThrowAndStillReleaseTheParameter)
{
    MapMixer mixer("M");
    mixer.rangeHook = [](const std::string& name, MapMixer::Ranges&) { return name != "/Gone/MMS"; };
    EXPECT_TRUE(thrown<ConverterException>([&] { AddParamConverter(nullptr, mixer.CreateParameter("/A/MMS")); }));
    EXPECT_TRUE(thrown<ConverterException>([&] { JudgeBankValueConverter(&mixer, nullptr, 3); }));
    EXPECT_TRUE(thrown<std::exception>(
        [&] { CopyPasteTargetParamSetterConverter(&mixer, mixer.CreateParameter("/Gone/MMS")); }));
    EXPECT_EQ(mixer.liveParameters, 0);
}
