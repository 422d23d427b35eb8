#include "ConsoleMemory.h"
#include "ConsoleValue.h"
#include "DefaultMemory.h"
#include "params/MmsAddress.h"
#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <QJsonValue>

#include <utility>

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

TEST(DefaultMemoryTest, EveryCatalogueNameIsServedAtBothEndsOfItsRange)
{
    const ConsoleMemory m;
    const CatalogEntry* rows = ParameterCatalog::entries();
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const QString name = QString::fromUtf8(rows[i].name);
        QStringList addresses;
        if (name.startsWith("/VelmarRack/VelmarRack2/PlugIn:0/")) {
            addresses << MmsAddress::PluginSlotAddress(name, 0, 0)
                      << MmsAddress::PluginSlotAddress(name, 3, 15);
        } else if (name.contains("DuganAutomixer")) {
            addresses << MmsAddress::DuganAddress(name, rows[i].channelMin)
                      << MmsAddress::DuganAddress(name, rows[i].channelMax);
        } else {
            addresses << MmsAddress::ChannelAddress(name, rows[i].channelMin)
                      << MmsAddress::ChannelAddress(name, rows[i].channelMax);
        }
        for (const QString& a : addresses)
            EXPECT_TRUE(known(m, a)) << a.toStdString();
    }
    EXPECT_EQ(m.defaults().conflicts(), 0);
}

TEST(DefaultMemoryTest, AddressesOutsideTheRangesAreUnknown)
{
    const ConsoleMemory m;
    for (const auto& [address, isKnown] : {
             std::pair{"/Mixing/InputChannel:119/Fader/Level/MMS", true}, {"/Mixing/InputChannel:120/Fader/Level/MMS", false},
             {"/Mixing/InputChannel:007/Fader/Level/MMS", false},        {"/Mixing/InputChannel/Fader/Level/MMS", false},
             {"/VelmarRack/VelmarRack2:3/PlugIn:15/PluginName/MMS", true}, {"/VelmarRack/VelmarRack2:4/PlugIn:0/PluginName/MMS", false},
             {"/VelmarRack/VelmarRack2:0/PlugIn:16/PluginName/MMS", false}, {"/Mixing/DuganAutomixer:0/Channel:63/Weight/MMS", true},
             {"/Mixing/DuganAutomixer:0/Channel:64/Weight/MMS", false},  {"/Mixing/DuganAutomixer:1/Channel:0/Weight/MMS", false},
             {"/FX/FX:15/Param:0/Bank:0/Value:63", true},                {"/FX/FX:15/Param:0/Bank:0/Value:64", false},
             {"/FX/FX:16/Param:0/PluginName:0", false},                  {"/Mixing/GEQRack2:32/Type:0/MMS", false},
             {"/Mixing/InputChannel:0/Fader/Level/MMS/Chorus/", false}})
        EXPECT_EQ(known(m, address), isKnown) << address;
}

TEST(DefaultMemoryTest, DirectlyWrittenAddressesExist)
{
    const ConsoleMemory m;
    EXPECT_TRUE(known(m, "/Setup/RackAllocation:0/RecallSafe:0/On:0"));
    for (int r : {0, 15}) {
        for (const char* leaf : {"PluginName:0", "LibraryName:0", "SlotSize:0", "Bank:0/Value:0", "Bank:0/Value:63"})
            EXPECT_TRUE(known(m, QString("/FX/FX:%1/Param:0/%2").arg(r).arg(leaf))) << leaf;
        for (const char* port : {"InputPort:0", "InputPort:1", "OutputPort:0"})
            EXPECT_TRUE(known(m, QString("/Mixing/EffectRack:0/Slot:%1/%2/Patch:0/Source:0").arg(r).arg(port)));
    }
    EXPECT_FALSE(known(m, "/Mixing/EffectRack:0/Slot:16/InputPort:0/Patch:0/Source:0"));
    for (int c : {0, 119}) {
        EXPECT_TRUE(known(m, QString("/Mixing/InputChannel:%1/InPatch:0/Bank:0/Source:0").arg(c)));
        EXPECT_TRUE(known(m, QString("/Mixing/InputChannel:%1/InPatch:0/Bank:1/Source:0").arg(c)));
    }
    for (int g : {0, 31}) {
        for (const char* leaf : {"ItemNum:0", "SlotSize:0", "Type:0", "AB:0/On:0", "AB:1/On:0"})
            EXPECT_TRUE(known(m, QString("/Mixing/GEQRack2:%1/%2").arg(g).arg(leaf))) << leaf;
    }
}

TEST(DefaultMemoryTest, TextParametersHoldTextsWithTheirDefaults)
{
    const ConsoleMemory m;
    const ConsoleValue name = valueAt(m, "/Mixing/InputChannel:5/Label:0/Name:0/MMS");
    EXPECT_EQ(name.type(), ConsoleValue::Text);
    EXPECT_EQ(name.textValue(), "");
    // A bound parameter starts at its table's value 0 ...
    EXPECT_EQ(valueAt(m, "/Mixing/InputChannel:0/Label/Icon/MMS").textValue(), "Kick");
    EXPECT_EQ(valueAt(m, "/Mixing/DCA:3/Label/Color/MMS").textValue(), "Blue");
    EXPECT_EQ(valueAt(m, "/Mixing/Mix:1/BusType/MMS").textValue(), "VARI");
    // ... except unit types, which start empty: no effect, no plug-in, no GEQ.
    for (const char* a : {"/FX/FX:0/Param:0/PluginName:0/MMS", "/VelmarRack/VelmarRack2:2/PlugIn:3/PluginName/MMS",
                          "/Mixing/GEQRack2:4/Type:0/MMSGEQ", "/Mixing/GEQRack2:4/Type:0"}) {
        const ConsoleValue v = valueAt(m, a);
        EXPECT_EQ(v.type(), ConsoleValue::Text) << a;
        EXPECT_EQ(v.textValue(), "") << a;
    }
    for (const char* a : {"/VelmarRack/VelmarRack2:0/PlugIn:0/LR:1/LibraryName:0/MMS",
                          "/SceneInfo/Playback:0:0/SongFilePath/MMS", "/Mixing/Mute:11/Label:0/Name:0/MMS",
                          "/Mixing/Matrix:2/Dynamics:0/Bank:1/Type/MMS"})
        EXPECT_EQ(valueAt(m, a).type(), ConsoleValue::Text) << a;
    const ConsoleValue fader = valueAt(m, "/Mixing/InputChannel:5/Fader/Level/MMS");
    EXPECT_EQ(fader.type(), ConsoleValue::Int32);
    EXPECT_EQ(fader.integerValue(), 0);
    EXPECT_EQ(valueAt(m, "/FX/FX:3/Param:0/SlotSize:0").type(), ConsoleValue::Int32);
}

TEST(ConsoleMemoryTest, EndingsReachTheSameValue)
{
    ConsoleMemory m;
    QString error;
    ASSERT_TRUE(m.write("/Mixing/InputChannel:7/Fader/Level/MMS", QJsonValue(-1234), false, &error));
    EXPECT_EQ(valueAt(m, "/Mixing/InputChannel:7/Fader/Level").integerValue(), -1234);

    ASSERT_TRUE(m.write("/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Chorus", QJsonValue(9), false, &error));
    EXPECT_EQ(valueAt(m, "/FX/FX:2/Param:0/Bank:0/Value:3").integerValue(), 9);
    EXPECT_EQ(valueAt(m, "/FX/FX:2/Param:0/Bank:0/Value:3/MMS").integerValue(), 9);
    EXPECT_EQ(valueAt(m, "/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Rev").integerValue(), 9);

    ASSERT_TRUE(m.write("/Mixing/GEQRack2:3/Type:0", QJsonValue("31BandGEQ"), false, &error));
    EXPECT_EQ(valueAt(m, "/Mixing/GEQRack2:3/Type:0/MMSGEQ").textValue(), "31BandGEQ");
    EXPECT_EQ(valueAt(m, "/Mixing/GEQRack2:3/Type:0/MMSDugan").textValue(), "31BandGEQ");

    ASSERT_TRUE(m.write("/VelmarRack/VelmarRack2:0/PlugIn:1/LR:0/LibraryName:0/MMSFx", QJsonValue("Lib"), false, &error));
    EXPECT_EQ(valueAt(m, "/VelmarRack/VelmarRack2:0/PlugIn:1/LR:0/LibraryName:0/MMS").textValue(), "Lib");

    // Only the catalogue's own tags are endings.
    EXPECT_FALSE(known(m, "/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Bogus"));
    EXPECT_FALSE(known(m, "/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Chorus/MMS/Chorus"));
}

TEST(ConsoleMemoryTest, WritesMustMatchTheAddressType)
{
    ConsoleMemory m;
    QString error;
    const QString level = "/Mixing/Mix:3/Fader/Level/MMS";
    const QString label = "/Mixing/Mix:3/Label:0/Name:0/MMS";
    EXPECT_FALSE(m.write(level, QJsonValue("12"), false, &error));
    EXPECT_TRUE(m.write(level, QJsonValue("12"), true, &error)) << error.toStdString();
    EXPECT_EQ(valueAt(m, level).integerValue(), 12);
    EXPECT_TRUE(m.write(level, QJsonValue("-7"), true, &error));
    for (const char* bad : {"", " 5", "5x", "1.0", "-", "+5"})
        EXPECT_FALSE(m.write(level, QJsonValue(bad), true, &error)) << bad;
    EXPECT_FALSE(m.write(level, QJsonValue(1.5), false, &error));
    EXPECT_TRUE(m.write(level, QJsonValue(2147483647.0), false, &error));
    EXPECT_FALSE(m.write(level, QJsonValue(2147483648.0), false, &error));
    EXPECT_TRUE(m.write(level, QJsonValue(-2147483648.0), false, &error));
    EXPECT_FALSE(m.write(level, QJsonValue(-2147483649.0), false, &error));
    EXPECT_FALSE(m.write(level, QJsonValue(true), false, &error));
    EXPECT_EQ(valueAt(m, level).integerValue(), -2147483648LL);

    EXPECT_FALSE(m.write(label, QJsonValue(5), false, &error));
    EXPECT_FALSE(m.write(label, QJsonValue(5), true, &error));
    EXPECT_TRUE(m.write(label, QJsonValue(QString::fromUtf8("Gésang")), false, &error));
    EXPECT_EQ(valueAt(m, label).textValue(), QString::fromUtf8("Gésang"));
    EXPECT_TRUE(m.write(label, QJsonValue(QString(1023, 'a')), false, &error));
    EXPECT_FALSE(m.write(label, QJsonValue(QString(1024, 'a')), false, &error));
    // 512 two-byte characters are 1024 bytes.
    EXPECT_FALSE(m.write(label, QJsonValue(QString(512, QChar(0xe9))), false, &error));
    EXPECT_FALSE(m.write("/Mixing/Mix:48/Fader/Level/MMS", QJsonValue(1), false, &error));
    EXPECT_FALSE(error.isEmpty());
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
    m.setChanges(snapshot);
    EXPECT_EQ(valueAt(m, "/Mixing/Stereo:1/Fader/On").integerValue(), 1);

    // Default-valued entries in a snapshot are dropped on the way in.
    ConsoleMemory::Changes withDefault = snapshot;
    withDefault.insert("/Mixing/Stereo:2/Fader/On", ConsoleValue::integer(ConsoleValue::Int32, 0));
    m.setChanges(withDefault);
    EXPECT_EQ(m.changes().size(), 1);
}
