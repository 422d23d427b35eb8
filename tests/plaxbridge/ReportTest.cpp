// The conversion report end to end: every value written is landed, refused
// or without a place, the page says what the JSON says, and the batch form
// converts several setups side by side.
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(QORA_SOURCE_DIR "/examples/rq10-festival.json");

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

    QString write(const QString& name, const QByteArray& content) const
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return path(name);
    }

    // Converts with a JSON report; the report, or an empty object.
    QJsonObject convert(const QString& source, const QStringList& more = {})
    {
        result = PlaxbridgeProcess::run(QStringList{"convert", "--progress=none", "--report", path("report.json")} + more
                                        + QStringList{source, path("out.KX9F")});
        EXPECT_EQ(result.exitCode, 0) << result.err.right(2000).toStdString();
        QFile file(path("report.json"));
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    static QJsonObject scene(const QJsonObject& report, int i = 0)
    {
        return report.value("scenes").toArray().at(i).toObject();
    }

    // Written = landed + refused + no place, in every scene and in all.
    static void expectAccounted(const QJsonObject& values)
    {
        EXPECT_EQ(values.value("written").toInt(),
                  values.value("landed").toInt() + values.value("refused").toInt() + values.value("noPlace").toInt());
        EXPECT_GT(values.value("landed").toInt(), 0);
    }

    QTemporaryDir dir;
    PlaxbridgeProcess::Result result;
};

TEST_F(Report, TheSamplesPageAndJsonAccountForEveryValue)
{
    const QJsonObject report = convert(kSample, {"--report", path("report.html")});
    const QJsonObject totals = report.value("totals").toObject();
    expectAccounted(totals);
    for (const QJsonValue& s : report.value("scenes").toArray())
        expectAccounted(s.toObject().value("values").toObject());
    // The reverb switch lands now: nothing of the sample is refused.
    EXPECT_EQ(totals.value("refused").toInt(), 0);
    EXPECT_EQ(report.value("notInSource").toArray().size(), 34);
    EXPECT_TRUE(result.out.contains(QRegularExpression(QString("landed +%1\n").arg(totals.value("landed").toInt()))))
        << result.out.toStdString();

    // The page is well-formed, draws the racks and shows the same numbers.
    QFile page(path("report.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(page.readAll());
    QMap<QString, QString> totalCells;
    QSet<QString> tables;
    QString key;
    bool inTotals = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("table")) {
            tables.insert(xml.attributes().value("id").toString());
            inTotals = xml.attributes().value("id") == QLatin1String("totals");
        }
        if (xml.isStartElement() && inTotals)
            key = xml.attributes().value("data-key").toString();
        if (xml.isCharacters() && !key.isEmpty())
            totalCells.insert(key, xml.text().toString());
        if (xml.isEndElement())
            key.clear();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    for (const QString& name : {"fx-racks-100", "velmar-racks-100", "fx-racks-250", "velmar-racks-250"})
        EXPECT_TRUE(tables.contains(name)) << name.toStdString();
    ASSERT_EQ(totalCells.size(), 6);
    for (auto it = totalCells.cbegin(); it != totalCells.cend(); ++it)
        EXPECT_EQ(it.value().toLongLong(), totals.value(it.key()).toVariant().toLongLong()) << it.key().toStdString();
}

TEST_F(Report, PlugInsThatOverflowTheRacksAreNamedWithTheirValues)
{
    // 64 six-slot plug-ins: two fit on each of the four racks. Sixteen
    // one-rack effects fill the effect racks exactly.
    const QJsonObject report = convert(write("overflow.json", setup(R"(
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 0,
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 11)")));
    const QJsonObject s = scene(report);
    expectAccounted(s.value("values").toObject());
    EXPECT_EQ(s.value("fx").toObject().value("placed").toArray().size(), 16);
    EXPECT_TRUE(s.value("fx").toObject().value("unplaced").toArray().isEmpty());

    const QJsonArray placed = s.value("plugins").toObject().value("placed").toArray();
    const QJsonArray unplaced = s.value("plugins").toObject().value("unplaced").toArray();
    ASSERT_EQ(placed.size(), 8);
    ASSERT_EQ(unplaced.size(), 56);
    const int perUnit = placed.at(0).toObject().value("values").toInt();
    EXPECT_GT(perUnit, 0);
    int lost = 0;
    for (int i = 0; i < unplaced.size(); ++i) {
        const QJsonObject unit = unplaced.at(i).toObject();
        EXPECT_EQ(unit.value("unit").toInt(), 8 + i);
        EXPECT_EQ(unit.value("size").toInt(), 6);
        EXPECT_EQ(unit.value("dropped").toInt(), perUnit);
        lost += unit.value("dropped").toInt();
    }
    EXPECT_EQ(s.value("values").toObject().value("noPlace").toInt(), lost);
    EXPECT_EQ(placed.at(7).toObject().value("rack").toInt(), 3);
    EXPECT_EQ(placed.at(7).toObject().value("slot").toInt(), 6);
}

TEST_F(Report, ARefusedValueIsNamedAndEverythingElseLands)
{
    // The KX9's icon table ends at 55.
    const QJsonObject report = convert(write("icon.json", setup(R"(
        "/Mixing/InputChannel/Label/Icon/MMS": {"4": 1, "5": 60, "6": 2},
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 59,
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 29)")));
    const QJsonObject s = scene(report);
    expectAccounted(s.value("values").toObject());
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
    const auto shell = PlaxbridgeProcess::shell({QString("LoadData \"%1\"").arg(path("out.KX9F")),
                                                 "GetValue /Mixing/InputChannel/Label/Icon/MMS 4 0",
                                                 "GetValue /Mixing/InputChannel/Label/Icon/MMS 6 0"});
    EXPECT_EQ(shell.outLines().mid(1), (QStringList{"= 1", "= 2"}));
}

TEST_F(Report, ABatchConvertsSideBySideAndNamesWhatFailed)
{
    const QString good = write("good.json", setup(R"(
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 59,
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 29)"));
    const QString broken = write("broken.json", "{\"format\": \"rq10-setup\",");
    const auto r = PlaxbridgeProcess::run({"convert", "--out-dir", path("out"), "--jobs", "2", "--report-dir",
                                           path("reports"), good, broken});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QStringList lines = r.outLines();
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_EQ(lines[0], QString("ok      %1 -> %2").arg(good, QDir(path("out")).filePath("good.KX9F")));
    EXPECT_TRUE(lines[1].startsWith(QString("failed  %1: bad SOURCE: ").arg(broken))) << lines[1].toStdString();
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"good.KX9F"});
    EXPECT_EQ(QDir(path("reports")).entryList(QDir::Files | QDir::Hidden), (QStringList{"good.html", "good.json"}));
}

} // namespace
