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

namespace {

const int kUntouched = -12345;

// Runs one converter; `written` tells whether it produced a value.
int run(IValueConverter& converter, int input, bool& written, ConversionContext context = {})
{
    int out = kUntouched;
    written = converter.Convert(context, input, out);
    return out;
}

int value(IValueConverter& converter, int input, ConversionContext context = {})
{
    bool written = false;
    const int out = run(converter, input, written, context);
    EXPECT_TRUE(written) << "input " << input;
    return out;
}

bool refuses(IValueConverter& converter, int input, ConversionContext context = {})
{
    bool written = true;
    const int out = run(converter, input, written, context);
    EXPECT_EQ(out, kUntouched) << "a refusing converter must not touch the output";
    return !written;
}

ConversionContext at(int channel, int subIndex = 0, int subOffset = 0)
{
    ConversionContext c;
    c.channel = channel;
    c.subIndex = subIndex;
    c.subOffset = subOffset;
    return c;
}

} // namespace

TEST(ArithmeticConverters, ValuesSaturateAndDivisionTruncatesTowardZero)
{
    CopyValueConverter copy;
    ConstantConverter constant(30);
    OffsetValueConverter minus16(-16), up(10), down(-10);
    MultiplyValueConverter times25(25), big(1 << 20);
    DivideValueConverter half(2), minusTwo(-2), minusOne(-1), zero(0);
    struct Row { IValueConverter* converter; int in; int out; };
    const Row rows[] = {
        {&copy, -17, -17},         {&constant, 210, 30},         {&minus16, 16, 0},
        {&minus16, 3, -13},        {&times25, -2, -50},          {&up, INT_MAX - 3, INT_MAX},
        {&down, INT_MIN + 3, INT_MIN}, {&big, 1 << 12, INT_MAX}, {&big, -(1 << 12), INT_MIN},
        {&half, 71, 35},           {&half, -71, -35},            {&minusTwo, 7, -3},
        {&minusOne, INT_MIN, INT_MAX},
    };
    for (const Row& r : rows)
        EXPECT_EQ(value(*r.converter, r.in), r.out) << "row " << (&r - rows);
    EXPECT_TRUE(refuses(zero, 10));
}

TEST(MapConverter, KnownKeysMapUnknownOnesFollowTheFlagAndTheMapIsCopied)
{
    std::map<int, int> pairs{{0, 0}, {1, 33}, {2, 67}, {3, 100}};
    MapValueConverter passing(pairs, true);
    MapValueConverter blocking(pairs, false);
    pairs.clear();
    EXPECT_EQ(value(passing, 2), 67);
    EXPECT_EQ(value(blocking, 3), 100);
    EXPECT_EQ(value(passing, 4), 4);
    EXPECT_TRUE(refuses(blocking, 4));
    EXPECT_TRUE(refuses(blocking, -1));
}

TEST(TableConverter, ExactKeysAndNearestKeyOutside)
{
    const std::map<int, int> table{{10, 100}, {20, 200}, {30, 300}};
    CopyPasteValueWithTableConverter converter("/T/MMS", "/S/MMS", nullptr, nullptr, &table);
    EXPECT_EQ(value(converter, 20), 200);
    EXPECT_EQ(value(converter, 9), 100);          // below the first key
    EXPECT_EQ(value(converter, INT_MIN), 100);
    EXPECT_EQ(value(converter, 31), 300);         // above the last key
    EXPECT_EQ(value(converter, INT_MAX), 300);
    EXPECT_EQ(value(converter, 14), 100);         // nearer to 10
    EXPECT_EQ(value(converter, 16), 200);         // nearer to 20
    EXPECT_EQ(value(converter, 25), 200);         // halfway: the lower key
    EXPECT_EQ(converter.sourceName(), "/S/MMS");
}

TEST(TableConverter, ReadsTheTableAtConversionTimeAndNeedsOne)
{
    std::map<int, int> table{{1, 17}};
    CopyPasteValueWithTableConverter converter("/T/MMS", "/S/MMS", nullptr, nullptr, &table);
    EXPECT_EQ(value(converter, 1), 17);
    table[1] = 18;
    EXPECT_EQ(value(converter, 1), 18);
    table.clear();
    EXPECT_TRUE(refuses(converter, 1));
    CopyPasteValueWithTableConverter none("/T/MMS", "/S/MMS", nullptr, nullptr, nullptr);
    EXPECT_TRUE(refuses(none, 1));
}

TEST(ParameterConverters, ReadTheGivenMixerAtTheConvertedChannelAndOwnSubIndex)
{
    MapMixer mixer("M");
    mixer.setRanges("/P/MMS", {0, 15, 8, 9});
    mixer.set("/P/MMS", 3, 40, 8);
    mixer.set("/P/MMS", 3, 41, 9);
    mixer.set("/P/MMS", 4, 77, 8);

    CopyPasteTargetParamSetterConverter take(&mixer, mixer.CreateParameter("/P/MMS"));
    EXPECT_EQ(value(take, 5, at(3, 7, 0)), 40);
    EXPECT_EQ(value(take, 5, at(4, 7, 0)), 77);
    EXPECT_EQ(value(take, 5, at(3, 7, 1)), 41);
    EXPECT_EQ(value(take, 5, at(3, 7, 5)), 41);   // clamped to the parameter's last sub-index

    AddParamConverter add(&mixer, mixer.CreateParameter("/P/MMS"));
    EXPECT_EQ(value(add, 30, at(3, 7, 0)), 70);
    EXPECT_EQ(value(add, -40, at(3, 7, 0)), 0);
    EXPECT_EQ(add.parameter()->GetName(), "/P/MMS");
}

TEST(ParameterConverters, JudgeLetsTheValueThroughOnlyForItsType)
{
    MapMixer mixer("M");
    mixer.set("/Type/MMS", 0, 17);
    mixer.set("/Type/MMS", 1, 16);
    JudgeBankValueConverter judge(&mixer, mixer.CreateParameter("/Type/MMS"), 17);
    EXPECT_EQ(value(judge, 123, at(0)), 123);
    EXPECT_TRUE(refuses(judge, 123, at(1)));
    EXPECT_TRUE(refuses(judge, 123, at(2)));      // unset reads as 0

    const std::map<int, int> table{{0, 5}, {127, 3970}};
    JudgeBankValueAndTableConverter judgeTable(&mixer, mixer.CreateParameter("/Type/MMS"), 16, &table);
    EXPECT_EQ(value(judgeTable, 127, at(1)), 3970);
    EXPECT_EQ(value(judgeTable, 100, at(1)), 3970);
    EXPECT_TRUE(refuses(judgeTable, 127, at(0)));
}

TEST(ParameterConverters, OwnAndReleaseTheirParameter)
{
    MapMixer mixer("M");
    {
        CopyPasteTargetParamSetterConverter a(&mixer, mixer.CreateParameter("/A/MMS"));
        AddParamConverter b(&mixer, mixer.CreateParameter("/B/MMS"));
        JudgeBankValueConverter c(&mixer, mixer.CreateParameter("/C/MMS"), 1);
        const std::map<int, int> table{{0, 0}};
        JudgeBankValueAndTableConverter d(&mixer, mixer.CreateParameter("/D/MMS"), 1, &table);
        EXPECT_EQ(mixer.liveParameters, 4);
    }
    EXPECT_EQ(mixer.liveParameters, 0);
}

// True when `f` throws a heap pointer of type E; the pointer is deleted, as
// the host would.
template <typename E, typename F>
bool throwsPointer(F f)
{
    try {
        f();
    } catch (E* e) {
        delete e;
        return true;
    }
    return false;
}

TEST(ParameterConverters, BadArgumentsThrowAndStillReleaseTheParameter)
{
    MapMixer mixer("M");
    mixer.rangeHook = [](const std::string& name, MapMixer::Ranges&) { return name != "/Gone/MMS"; };
    EXPECT_TRUE(throwsPointer<ConverterException>([&] { AddParamConverter(nullptr, mixer.CreateParameter("/A/MMS")); }));
    EXPECT_TRUE(throwsPointer<ConverterException>([&] { JudgeBankValueConverter(&mixer, nullptr, 3); }));
    EXPECT_TRUE(throwsPointer<std::exception>(
        [&] { CopyPasteTargetParamSetterConverter(&mixer, mixer.CreateParameter("/Gone/MMS")); }));
    EXPECT_EQ(mixer.liveParameters, 0);
}
