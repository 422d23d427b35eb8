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

TEST(ArithmeticConverters, CopyConstantOffsetMultiply)
{
    CopyValueConverter copy;
    EXPECT_EQ(value(copy, -17), -17);
    ConstantConverter constant(30);
    EXPECT_EQ(value(constant, 210), 30);
    OffsetValueConverter minus16(-16);
    EXPECT_EQ(value(minus16, 16), 0);
    EXPECT_EQ(value(minus16, 3), -13);
    MultiplyValueConverter times25(25);
    EXPECT_EQ(value(times25, 4), 100);
    EXPECT_EQ(value(times25, -2), -50);
}

TEST(ArithmeticConverters, SaturateInsteadOfOverflowing)
{
    OffsetValueConverter up(10);
    EXPECT_EQ(value(up, INT_MAX - 3), INT_MAX);
    OffsetValueConverter down(-10);
    EXPECT_EQ(value(down, INT_MIN + 3), INT_MIN);
    MultiplyValueConverter big(1 << 20);
    EXPECT_EQ(value(big, 1 << 12), INT_MAX);
    EXPECT_EQ(value(big, -(1 << 12)), INT_MIN);
}

TEST(ArithmeticConverters, DivideTruncatesTowardZero)
{
    DivideValueConverter half(2);
    EXPECT_EQ(value(half, 71), 35);
    EXPECT_EQ(value(half, -71), -35);
    DivideValueConverter minusTwo(-2);
    EXPECT_EQ(value(minusTwo, 7), -3);
    DivideValueConverter minusOne(-1);
    EXPECT_EQ(value(minusOne, INT_MIN), INT_MAX);
}

TEST(ArithmeticConverters, DivideByZeroWritesNothing)
{
    DivideValueConverter zero(0);
    EXPECT_TRUE(refuses(zero, 10));
}

TEST(MapConverter, KnownKeysMapAndUnknownOnesFollowTheFlag)
{
    std::map<int, int> pairs{{0, 0}, {1, 33}, {2, 67}, {3, 100}};
    MapValueConverter passing(pairs, true);
    MapValueConverter blocking(pairs, false);
    EXPECT_EQ(value(passing, 2), 67);
    EXPECT_EQ(value(blocking, 3), 100);
    EXPECT_EQ(value(passing, 4), 4);
    EXPECT_TRUE(refuses(blocking, 4));
    EXPECT_TRUE(refuses(blocking, -1));
}

TEST(MapConverter, KeepsItsOwnCopyOfTheMap)
{
    std::map<int, int> pairs{{4, 1}, {5, 1}, {6, 2}};
    MapValueConverter converter(pairs, true);
    pairs[4] = 99;
    pairs.clear();
    EXPECT_EQ(value(converter, 4), 1);
    EXPECT_EQ(value(converter, 6), 2);
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

TEST(TableConverter, ReadsTheTableAtConversionTime)
{
    std::map<int, int> table{{1, 17}};
    CopyPasteValueWithTableConverter converter("/T/MMS", "/S/MMS", nullptr, nullptr, &table);
    EXPECT_EQ(value(converter, 1), 17);
    table[1] = 18;
    EXPECT_EQ(value(converter, 1), 18);
}

TEST(TableConverter, NullOrEmptyTableWritesNothing)
{
    const std::map<int, int> empty;
    CopyPasteValueWithTableConverter none("/T/MMS", "/S/MMS", nullptr, nullptr, nullptr);
    CopyPasteValueWithTableConverter nothing("/T/MMS", "/S/MMS", nullptr, nullptr, &empty);
    EXPECT_TRUE(refuses(none, 1));
    EXPECT_TRUE(refuses(nothing, 1));
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

TEST(ParameterConverters, NullArgumentsThrowAndStillReleaseTheParameter)
{
    MapMixer mixer("M");
    try {
        AddParamConverter bad(nullptr, mixer.CreateParameter("/A/MMS"));
        FAIL() << "a null mixer was accepted";
    } catch (ConverterException* e) {
        delete e;
    }
    EXPECT_EQ(mixer.liveParameters, 0);

    try {
        JudgeBankValueConverter bad(&mixer, nullptr, 3);
        FAIL() << "a null parameter was accepted";
    } catch (ConverterException* e) {
        delete e;
    }
}

TEST(ParameterConverters, ARangeLookupThatThrowsReleasesTheParameter)
{
    MapMixer mixer("M");
    mixer.rangeHook = [](const std::string& name, MapMixer::Ranges&) { return name != "/Gone/MMS"; };
    try {
        CopyPasteTargetParamSetterConverter bad(&mixer, mixer.CreateParameter("/Gone/MMS"));
        FAIL() << "the range lookup did not throw";
    } catch (std::exception* e) {
        delete e;
    }
    EXPECT_EQ(mixer.liveParameters, 0);
}
