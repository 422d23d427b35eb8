// The conversion report end to end for what the sample does not show (plug-ins
// without a place, a refused value), and the batch form converting several
// setups side by side. The sample's reports are checked with its conversion.
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// One scene; `values` are the setup's common values (JSON members).
QByteArray setup(const QByteArray& values)
{
    return R"({"format": "rq10-setup", "version": 1, "model": "RQ10", "values": {)" + values
           + R"(}, "scenes": [{"number": 100, "title": "Only"}]})";
}

class Report : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& content) const { return writeFile(path(name), content); }

    // Converts with a JSON report; the report's only scene, which accounts
    // for every value written: landed, refused or without a place.
    QJsonObject convert(const QString& source)
    {
        result = PlaxbridgeProcess::run({"convert", "--progress=none", "--report", path("report.json"), source,
                                         path("out.KX9F")});
        EXPECT_EQ(result.exitCode, 0) << result.show();
        QFile file(path("report.json"));
        file.open(QIODevice::ReadOnly);
        const QJsonObject scene =
            QJsonDocument::fromJson(file.readAll()).object().value("scenes").toArray().at(0).toObject();
        const QJsonObject values = scene.value("values").toObject();
        EXPECT_EQ(values.value("written").toInt(),
                  values.value("landed").toInt() + values.value("refused").toInt() + values.value("noPlace").toInt());
        EXPECT_GT(values.value("landed").toInt(), 0);
        return scene;
    }

    QTemporaryDir dir;
    PlaxbridgeProcess::Result result;
};

TEST_F(Report, PlugInsThatOverflowTheRacksAreNamedWithTheirValues)
{
    // 64 six-slot plug-ins: two fit on each of the four racks. Sixteen
    // one-rack effects fill the effect racks exactly.
    const QJsonObject s = convert(write("overflow.json", setup(R"(
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 0,
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 11)")));
    EXPECT_EQ(s.value("fx").toObject().value("placed").toArray().size(), 16);
    EXPECT_TRUE(s.value("fx").toObject().value("unplaced").toArray().isEmpty());

    const QJsonArray placed = s.value("plugins").toObject().value("placed").toArray();
    const QJsonArray unplaced = s.value("plugins").toObject().value("unplaced").toArray();
    ASSERT_EQ(placed.size(), 8);
    ASSERT_EQ(unplaced.size(), 56);
    const int perUnit = placed.at(0).toObject().value("values").toInt();
    EXPECT_GT(perUnit, 0);
    for (int i = 0; i < unplaced.size(); ++i) {
        const QJsonObject unit = unplaced.at(i).toObject();
        EXPECT_EQ(QList<int>({unit.value("unit").toInt(), unit.value("size").toInt(), unit.value("dropped").toInt()}),
                  QList<int>({8 + i, 6, perUnit}));
    }
    EXPECT_EQ(s.value("values").toObject().value("noPlace").toInt(), 56 * perUnit);
    EXPECT_EQ(placed.at(7).toObject().value("rack").toInt(), 3);
    EXPECT_EQ(placed.at(7).toObject().value("slot").toInt(), 6);
}

TEST_F(Report, ARefusedValueIsNamedAndEverythingElseLands)
{
    // The KX9's icon table ends at 55.
    const QJsonObject s = convert(write("icon.json", setup(R"(
        "/Mixing/InputChannel/Label/Icon/MMS": {"4": 1, "5": 60, "6": 2},
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 59,
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 29)")));
    const QJsonArray refused = s.value("refused").toArray();
    ASSERT_EQ(refused.size(), 1);
    const QJsonObject r = refused.at(0).toObject();
    EXPECT_EQ(r.value("address").toString(), "/Mixing/InputChannel:5/Label/Icon/MMS");
    EXPECT_EQ(r.value("parameter").toString(), "/Mixing/InputChannel/Label/Icon/MMS");
    EXPECT_EQ(r.value("channel").toInt(), 5);
    EXPECT_EQ(r.value("value").toInt(), 60);
    EXPECT_FALSE(r.value("reason").toString().isEmpty());
    EXPECT_TRUE(result.out.contains(QRegularExpression("refused by the KX9 +1\n"))) << result.out.toStdString();

    // Its neighbours in the same batch reached the console.
    expectShell({{QString("LoadData \"%1\"").arg(path("out.KX9F")), "OK"},
                 {"GetValue /Mixing/InputChannel/Label/Icon/MMS 4 0", "= 1"},
                 {"GetValue /Mixing/InputChannel/Label/Icon/MMS 6 0", "= 2"}});
}

TEST_F(Report, ABatchConvertsSideBySideAndNamesWhatFailed)
{
    const QString good = write("good.json", setup(R"(
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 59,
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 29)"));
    const QString broken = write("broken.json", "{\"format\": \"rq10-setup\",");
    const auto r = PlaxbridgeProcess::run({"convert", "--progress=json", "--out-dir", path("out"), "--jobs", "2",
                                           "--report-dir", path("reports"), good, broken});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    // One stream: every event of a setup carries it; the batch's own end comes last.
    QStringList events;
    for (const QString& line : r.err.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject event = QJsonDocument::fromJson(line.toUtf8()).object();
        if (!event.isEmpty() && event.value("event") != "progress")
            events << QFileInfo(event.value("setup").toString()).fileName() + " " + event.value("event").toString();
    }
    EXPECT_TRUE(events.contains("broken.json error") && events.contains("good.json sceneEnd")) << r.err.toStdString();
    EXPECT_EQ(events.filter(" end"), (QStringList{"broken.json end", "good.json end", " end"})) << r.err.toStdString();
    const QStringList lines = r.outLines();
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_EQ(lines[0], QString("ok      %1 -> %2").arg(good, QDir(path("out")).filePath("good.KX9F")));
    EXPECT_TRUE(lines[1].startsWith(QString("failed  %1: bad SOURCE: ").arg(broken))) << lines[1].toStdString();
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"good.KX9F"});
    EXPECT_EQ(QDir(path("reports")).entryList(QDir::Files | QDir::Hidden), (QStringList{"good.html", "good.json"}));
}

} // namespace
