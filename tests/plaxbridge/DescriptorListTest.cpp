#include "DescriptorList.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath(QStringLiteral("parameters.txt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return path;
}

} // namespace

TEST(DescriptorList, LoadsOneNamePerLine)
{
    QTemporaryDir dir;
    std::vector<std::string> names;
    QString error;
    ASSERT_TRUE(DescriptorList::load(writeFile(dir, "/a/MMS\r\n\n/b/MMS\n/c/MMS"), names, error))
        << error.toStdString();
    EXPECT_EQ(names, (std::vector<std::string>{"/a/MMS", "/b/MMS", "/c/MMS"}));
}

TEST(DescriptorList, RejectsMissingEmptyAndMalformedLists)
{
    QTemporaryDir dir;
    std::vector<std::string> names{"untouched"};
    QString error;
    EXPECT_FALSE(DescriptorList::load(dir.filePath(QStringLiteral("none.txt")), names, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("cannot read the descriptor list")));
    EXPECT_FALSE(DescriptorList::load(writeFile(dir, "\n\n"), names, error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("is empty")));
    EXPECT_FALSE(DescriptorList::load(writeFile(dir, "/a/MMS\nb/MMS\n"), names, error));
    EXPECT_TRUE(error.endsWith(QStringLiteral(":2: not a parameter name")));
    EXPECT_FALSE(DescriptorList::load(writeFile(dir, "/a/MMS\n/a b/MMS\n"), names, error));
    EXPECT_FALSE(DescriptorList::load(writeFile(dir, "/a/MMS\n/b/MMS\n/a/MMS\n"), names, error));
    EXPECT_TRUE(error.endsWith(QStringLiteral(":3: /a/MMS is listed twice")));
    EXPECT_EQ(names, std::vector<std::string>{"untouched"});
}

TEST(DescriptorList, TypeParametersRunFirstAndTheRestKeepsItsOrder)
{
    const std::vector<std::string> names = {
        "/Mixing/InputChannel/Fader/Level/MMS",
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS",
        "/VelmarRack/VelmarRack2/PlugIn:0/SlotSize/MMS",
        "/FX/FX/Param:0/PluginName:0/MMS",
        "/FX/FX/Param:0/Bank:0/Value:0/MMS",
        "/FX/FX/Param:0/PluginName:0/MMS/Rev",
        "/FX/FX/Param:0/Bank:0/Value:0/MMS/Rev",
    };
    EXPECT_EQ(DescriptorList::conversionOrder(names),
              (std::vector<std::string>{
                  "/FX/FX/Param:0/PluginName:0/MMS",
                  "/FX/FX/Param:0/PluginName:0/MMS/Rev",
                  "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS",
                  "/Mixing/InputChannel/Fader/Level/MMS",
                  "/VelmarRack/VelmarRack2/PlugIn:0/SlotSize/MMS",
                  "/FX/FX/Param:0/Bank:0/Value:0/MMS",
                  "/FX/FX/Param:0/Bank:0/Value:0/MMS/Rev",
              }));
    // Type parameters that the list lacks are not invented.
    const std::vector<std::string> plain = {"/b/MMS", "/a/MMS"};
    EXPECT_EQ(DescriptorList::conversionOrder(plain), plain);
    EXPECT_FALSE(DescriptorList::isTypeParameter("/FX/FX/Param:0/PluginName:0/MMS/Chorus"));
}
