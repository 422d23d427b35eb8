#include "ConsoleMemory.h"
#include "ConsoleValue.h"
#include "DefaultMemory.h"

#include <gtest/gtest.h>

#include <QJsonValue>

namespace {

bool known(const ConsoleMemory& m, const QString& address)
{
    ConsoleValue v;
    return m.read(address, &v);
}

ConsoleValue valueAt(const ConsoleMemory& m, const QString& address)
{
    ConsoleValue v;
    EXPECT_TRUE(m.read(address, &v)) << address.toStdString();
    return v;
}

} // namespace

// The ends of the ranges, and the plain addresses the plug-in writes directly.
TEST(DefaultMemoryTest, AddressesInsideAndOutsideTheRanges)
{
    const ConsoleMemory m;
    const struct {
        const char* address;
        bool known;
    } rows[] = {
        {"/Mixing/InputChannel:119/Fader/Level/MMS", true},     {"/Mixing/InputChannel:120/Fader/Level/MMS", false},
        {"/Mixing/InputChannel:007/Fader/Level/MMS", false},    {"/Mixing/InputChannel/Fader/Level/MMS", false},
        {"/VelmarRack/VelmarRack2:3/PlugIn:15/PluginName/MMS", true},
        {"/VelmarRack/VelmarRack2:4/PlugIn:0/PluginName/MMS", false},
        {"/VelmarRack/VelmarRack2:0/PlugIn:16/PluginName/MMS", false},
        {"/Mixing/DuganAutomixer:0/Channel:63/Weight/MMS", true}, {"/Mixing/DuganAutomixer:0/Channel:64/Weight/MMS", false},
        {"/Mixing/DuganAutomixer:1/Channel:0/Weight/MMS", false}, {"/FX/FX:15/Param:0/Bank:0/Value:63", true},
        {"/FX/FX:15/Param:0/Bank:0/Value:64", false},           {"/FX/FX:16/Param:0/PluginName:0", false},
        {"/Mixing/GEQRack2:32/Type:0/MMS", false},              {"/Mixing/InputChannel:0/Fader/Level/MMS/Chorus/", false},
        {"/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Bogus", false},   {"/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Chorus/MMS/Chorus", false},
        {"/Setup/RackAllocation:0/RecallSafe:0/On:0", true},    {"/FX/FX:15/Param:0/LibraryName:0", true},
        {"/FX/FX:0/Param:0/SlotSize:0", true},                  {"/Mixing/EffectRack:0/Slot:15/InputPort:1/Patch:0/Source:0", true},
        {"/Mixing/EffectRack:0/Slot:0/OutputPort:0/Patch:0/Source:0", true},
        {"/Mixing/EffectRack:0/Slot:16/InputPort:0/Patch:0/Source:0", false},
        {"/Mixing/InputChannel:119/InPatch:0/Bank:1/Source:0", true}, {"/Mixing/InputChannel:0/InPatch:0/Bank:0/Source:0", true},
        {"/Mixing/GEQRack2:31/ItemNum:0", true},                {"/Mixing/GEQRack2:0/SlotSize:0", true},
        {"/Mixing/GEQRack2:31/AB:1/On:0", true},                {"/Mixing/GEQRack2:0/AB:0/On:0", true},
    };
    for (const auto& r : rows)
        EXPECT_EQ(known(m, r.address), r.known) << r.address;
    EXPECT_EQ(m.defaults().conflicts(), 0);
}

TEST(DefaultMemoryTest, ValuesStartAtTheirTypesDefault)
{
    const ConsoleMemory m;
    // A bound parameter starts at its table's value 0; unit types start empty:
    // no effect, no plug-in, no GEQ.
    const struct {
        const char* address;
        const char* text;   // null: an integer 0
    } rows[] = {
        {"/Mixing/InputChannel:5/Label:0/Name:0/MMS", ""}, {"/Mixing/InputChannel:0/Label/Icon/MMS", "Kick"},
        {"/Mixing/DCA:3/Label/Color/MMS", "Blue"},       {"/Mixing/Mix:1/BusType/MMS", "VARI"},
        {"/FX/FX:0/Param:0/PluginName:0/MMS", ""},       {"/VelmarRack/VelmarRack2:2/PlugIn:3/PluginName/MMS", ""},
        {"/Mixing/GEQRack2:4/Type:0/MMSGEQ", ""},        {"/Mixing/GEQRack2:4/Type:0", ""},
        {"/SceneInfo/Playback:0:0/SongFilePath/MMS", ""}, {"/Mixing/Mute:11/Label:0/Name:0/MMS", ""},
        {"/Mixing/Matrix:2/Dynamics:0/Bank:1/Type/MMS", "GATE"},
        {"/VelmarRack/VelmarRack2:0/PlugIn:0/LR:1/LibraryName:0/MMS", ""},
        {"/Mixing/InputChannel:5/Fader/Level/MMS", nullptr}, {"/FX/FX:3/Param:0/SlotSize:0", nullptr},
    };
    for (const auto& r : rows) {
        const ConsoleValue v = valueAt(m, r.address);
        EXPECT_EQ(v.type(), r.text ? ConsoleValue::Text : ConsoleValue::Int32) << r.address;
        if (r.text)
            EXPECT_EQ(v.textValue(), r.text) << r.address;
        else
            EXPECT_EQ(v.integerValue(), 0) << r.address;
    }
}

TEST(ConsoleMemoryTest, WritesMustMatchTheAddressTypeAndReachEveryEnding)
{
    ConsoleMemory m;
    const QString level = "/Mixing/Mix:3/Fader/Level/MMS";
    const QString label = "/Mixing/Mix:3/Label:0/Name:0/MMS";
    const struct {
        QString address;
        QJsonValue value;
        bool numericStrings;
        bool accepted;
    } rows[] = {
        {level, "12", false, false},  {level, "12", true, true},     {level, "-7", true, true},
        {level, "", true, false},     {level, " 5", true, false},    {level, "5x", true, false},
        {level, "1.0", true, false},  {level, "+5", true, false},    {level, "-", true, false},    {level, 1.5, false, false},
        {level, 2147483647.0, false, true},  {level, 2147483648.0, false, false},
        {level, -2147483649.0, false, false}, {level, true, false, false},
        {level, -2147483648.0, false, true},  {label, 5, false, false}, {label, 5, true, false},
        {label, QString(1023, 'a'), false, true}, {label, QString(1024, 'a'), false, false},
        {label, QString(512, QChar(0xe9)), false, false},   // 1024 bytes in UTF-8
        {label, QString::fromUtf8("Gésang"), false, true},  {"/Mixing/Mix:48/Fader/Level/MMS", 1, false, false},
    };
    for (const auto& r : rows) {
        QString error;
        EXPECT_EQ(m.write(r.address, r.value, r.numericStrings, &error), r.accepted)
            << r.address.toStdString() << " " << r.value.toVariant().toString().toStdString();
        EXPECT_EQ(error.isEmpty(), r.accepted);
    }
    EXPECT_EQ(valueAt(m, level).integerValue(), -2147483648LL);
    EXPECT_EQ(valueAt(m, label).textValue(), QString::fromUtf8("Gésang"));

    // An address with or without its ending, or with another of the
    // catalogue's own tags, is the same value.
    QString error;
    ASSERT_TRUE(m.write("/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Chorus", QJsonValue(9), false, &error));
    ASSERT_TRUE(m.write("/Mixing/GEQRack2:3/Type:0", QJsonValue("31BandGEQ"), false, &error));
    ASSERT_TRUE(m.write("/VelmarRack/VelmarRack2:0/PlugIn:1/LR:0/LibraryName:0/MMSFx", QJsonValue("Lib"), false, &error));
    EXPECT_EQ(valueAt(m, "/Mixing/Mix:3/Fader/Level").integerValue(), -2147483648LL);
    for (const char* a : {"/FX/FX:2/Param:0/Bank:0/Value:3", "/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Rev"})
        EXPECT_EQ(valueAt(m, a).integerValue(), 9) << a;
    for (const char* a : {"/Mixing/GEQRack2:3/Type:0/MMSGEQ", "/Mixing/GEQRack2:3/Type:0/MMSDugan"})
        EXPECT_EQ(valueAt(m, a).textValue(), "31BandGEQ") << a;
    EXPECT_EQ(valueAt(m, "/VelmarRack/VelmarRack2:0/PlugIn:1/LR:0/LibraryName:0/MMS").textValue(), "Lib");
}

TEST(ConsoleMemoryTest, OnlyDifferencesFromTheDefaultsAreKept)
{
    ConsoleMemory m;
    QString error;
    ASSERT_TRUE(m.write("/Mixing/InputChannel:0/Label/Icon/MMS", QJsonValue("Snare"), false, &error));
    ASSERT_TRUE(m.write("/Mixing/Stereo:1/Fader/On/MMS", QJsonValue(1), false, &error));
    EXPECT_EQ(m.changes().size(), 2);
    ASSERT_TRUE(m.write("/Mixing/InputChannel:0/Label/Icon", QJsonValue("Kick"), false, &error));
    EXPECT_EQ(m.changes().size(), 1);

    const ConsoleMemory::Changes snapshot = m.changes();
    m.reset();
    EXPECT_EQ(valueAt(m, "/Mixing/Stereo:1/Fader/On").integerValue(), 0);
    // Default-valued entries in a snapshot are dropped on the way in.
    ConsoleMemory::Changes withDefault = snapshot;
    withDefault.insert("/Mixing/Stereo:2/Fader/On", ConsoleValue::integer(ConsoleValue::Int32, 0));
    m.setChanges(withDefault);
    EXPECT_EQ(valueAt(m, "/Mixing/Stereo:1/Fader/On").integerValue(), 1);
    EXPECT_EQ(m.changes().size(), 1);
}
