// show and diff end to end: the sample converted in both wire modes compares
// equal, a copy changed in one fader and one name through the shell differs
// in exactly those two, and show draws what the conversion wrote.
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kSource = QStringLiteral(QORA_SOURCE_DIR);
const QString kInputNames = "/Mixing/InputChannel/Label:0/Name:0/MMS";
const QString kInputFader = "/Mixing/InputChannel/Fader/Level/MMS";

class ConsoleView : public ::testing::Test
{
protected:
    // The sample converted once in the default mode; every test reads it.
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const auto r = PlaxbridgeProcess::run(
            {"convert", "--progress=none", kSource + "/examples/rq10-festival.json", path("festival.KX9F")});
        ASSERT_EQ(r.exitCode, 0) << r.show();
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    static QString path(const QString& name) { return s_dir->filePath(name); }

    static QJsonObject readJson(const QString& file)
    {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // diff with --json; the result, its exit status in `status`.
    static QJsonObject diffJson(const QString& a, const QString& b, int& status)
    {
        QFile::remove(path("diff.json"));
        const auto r = PlaxbridgeProcess::run({"diff", a, b, "--json", path("diff.json")});
        status = r.exitCode;
        return readJson(path("diff.json"));
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> ConsoleView::s_dir;

// One shell argument, quoted.
QString quote(const QString& text)
{
    QString t = text;
    return '"' + t.replace('\\', "\\\\").replace('"', "\\\"") + '"';
}

TEST_F(ConsoleView, StrictAndDefaultConversionsOfTheSampleCompareEqual)
{
    const QDir bin(PlaxbridgeProcess::binDir());
    const QString strict = path("strict");
    QDir().mkpath(strict + "/KX9/Descriptor");
    for (const char* file : {"plaxbridge", "libqora.so", "libUtilities.so", "KX9/Descriptor/parameters.txt",
                             "KX9/Descriptor/initialLoadData.KX9F"})
        QFile::copy(bin.filePath(file), strict + "/" + file);
    writeFile(strict + "/KX9.ini", "[MainApplication]\nVirtualDeviceFilePath=" + bin.filePath("qora-editor").toUtf8()
                                       + "\nWireMode=strict\n");
    PlaxbridgeProcess::setProgramDirectory(strict);
    auto r = PlaxbridgeProcess::run(
        {"convert", "--progress=none", kSource + "/examples/rq10-festival.json", path("strict.KX9F")});
    PlaxbridgeProcess::setProgramDirectory(QString());
    ASSERT_EQ(r.exitCode, 0) << r.show();

    r = PlaxbridgeProcess::run({"diff", path("festival.KX9F"), path("strict.KX9F")});
    EXPECT_EQ(r.exitCode, 0) << r.show();
    EXPECT_EQ(r.outLines().value(2), "equal: 3 scenes compared") << r.show();
}

TEST_F(ConsoleView, AFaderAndANameChangedInOneSceneAreExactlyTheDifferences)
{
    const QString a = path("festival.KX9F");
    // What the change must put back: scene 2.00's information (storing a
    // scene gives it the console's own) and the current memory's names.
    QStringList read{"LoadData " + quote(a), "GetTitle 200", "GetComment 200", "GetDateTime 200"};
    for (int list = 0; list < 6; ++list)
        read.append(QStringLiteral("GetNameParameterList %1").arg(list));
    const auto before = PlaxbridgeProcess::shell(read);
    const QStringList lines = before.outLines();
    ASSERT_EQ(lines.size(), read.size()) << before.show();
    const auto result = [&](int i) { return lines[i].mid(2); };   // without "= "
    QString dateArgs = result(3).mid(1).chopped(1);
    dateArgs.replace(',', ' ');

    QStringList change{"LoadData " + quote(a), "SetCurrentSceneMemory 200",
                       "SetValue " + kInputFader + " 3 -1234 0",
                       "SetNameParameterList " + kInputNames + " \"Lead Vox\"", "StoreCurrentSceneMemory 200",
                       "SetTitle " + result(1) + " 200", "SetComment " + result(2) + " 200",
                       "SetDateTime " + dateArgs + " 200"};
    for (int list = 0; list < 6; ++list) {
        QStringList names;
        for (const QJsonValue& v : QJsonDocument::fromJson(result(4 + list).toUtf8()).array())
            names.append(quote(v.toString()));
        change.append("SetNameParameterList " + names.join(' '));
    }
    change.append("SaveData " + quote(s_dir->path()) + " changed.KX9F");
    const auto edited = PlaxbridgeProcess::shell(change);
    ASSERT_FALSE(edited.out.contains('!') || edited.out.contains('?')) << edited.show();
    // The session's first recall parked the memory as scene 999.99, saved
    // with the rest; diff leaves that scene out.
    EXPECT_TRUE(PlaxbridgeProcess::shell({"LoadData " + quote(path("changed.KX9F")), "GetSceneList"})
                    .out.contains(",99999]"));

    int status = -1;
    const QJsonObject diff = diffJson(a, path("changed.KX9F"), status);
    EXPECT_EQ(status, 1);
    const QJsonArray differences = diff.value("differences").toArray();
    ASSERT_EQ(differences.size(), 2) << QJsonDocument(diff).toJson().toStdString();
    const QJsonObject name = differences[0].toObject();
    EXPECT_EQ(name.value("scene").toInt(), 200);
    EXPECT_EQ(name.value("parameter").toString(), kInputNames);
    EXPECT_EQ(name.value("channel").toInt(), 0);
    EXPECT_EQ(name.value("a").toString(), "");
    EXPECT_EQ(name.value("b").toString(), "Lead Vox");
    const QJsonObject fader = differences[1].toObject();
    EXPECT_EQ(fader.value("parameter").toString(), kInputFader);
    EXPECT_EQ(fader.value("channel").toInt(), 3);
    EXPECT_EQ(fader.value("channelName").toString(), "Tom 1");   // the current memory's, as the scene has none
    EXPECT_EQ(fader.value("b").toString(), "-1234");
    EXPECT_TRUE(diff.value("onlyA").toArray().isEmpty() && diff.value("onlyB").toArray().isEmpty());

    // The other way round the same two, values swapped; the text names both.
    const auto r = PlaxbridgeProcess::run({"diff", path("changed.KX9F"), a});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(kInputFader + "  4 \"Tom 1\": -1234 | " + fader.value("a").toString())) << r.show();
    EXPECT_TRUE(r.out.contains("2 differences, 0 scenes only in A, 0 only in B")) << r.show();
}

TEST_F(ConsoleView, ErrorsAndUsageEndWithStatusTwoAndNothingWritten)
{
    const QString good = path("festival.KX9F");
    const QString notConsole = writeFile(path("setup.KX9F"), "{\"format\": \"rq10-setup\"}");
    const struct {
        QStringList arguments;
        int status;
        QString message;
    } cases[] = {
        {{"diff", good, path("missing.KX9F")}, 2, "cannot read " + path("missing.KX9F")},
        // A file the editor refuses must not be compared as the file before it.
        {{"diff", good, notConsole}, 2, "the KX9 editor did not load " + notConsole},
        {{"diff", good}, 2, "diff needs A.KX9F and B.KX9F"},
        {{"diff", good, good, "--html", path("x.html"), "--json", path("x.json")}, 2, "not both"},
        {{"show", good, "--scene", "7"}, 1, "has no scene 7.00"},
        {{"show", good, "--scene", "x"}, 1, "--scene needs"},
    };
    for (const auto& c : cases) {
        const auto r = PlaxbridgeProcess::run(c.arguments);
        EXPECT_EQ(r.exitCode, c.status) << r.show();
        EXPECT_TRUE(r.err.contains(c.message)) << r.show();
        EXPECT_TRUE(r.out.isEmpty()) << r.show();
    }
    EXPECT_FALSE(QFile::exists(path("x.html")) || QFile::exists(path("x.json")));
}

TEST_F(ConsoleView, ShowDrawsTheConvertedStripsAndRacks)
{
    // Scene 2.00: input 19 (Host Mic) at -30 dB behind a diode-bridge
    // compressor, the names held by the current memory only.
    auto r = PlaxbridgeProcess::run({"show", path("festival.KX9F"), "--scene", "2", "--json", path("show.json")});
    ASSERT_EQ(r.exitCode, 0) << r.show();
    const QJsonObject view = readJson(path("show.json"));
    EXPECT_EQ(view.value("scenes").toArray().size(), 3);
    const QJsonObject scene = view.value("shown").toArray().at(0).toObject();
    EXPECT_EQ(scene.value("title").toString(), "Headliner");
    EXPECT_TRUE(scene.value("protect").toBool());
    const QJsonObject strips = scene.value("strips").toObject();
    const QJsonObject mic = strips.value("InputChannel").toArray().at(18).toObject();
    EXPECT_EQ(mic.value("name").toString(), "");
    EXPECT_EQ(mic.value("currentName").toString(), "Host Mic");
    EXPECT_EQ(mic.value("fader").toInt(), -3000);
    EXPECT_EQ(mic.value("dynamics").toArray(), QJsonArray{"DiodeBridgeComp"});
    EXPECT_EQ(strips.value("InputChannel").toArray().size(), 120);
    EXPECT_EQ(strips.value("DCA").toArray().size(), 24);
    EXPECT_FALSE(strips.value("DCA").toArray().at(0).toObject().contains("pan"));
    EXPECT_EQ(scene.value("fx").toArray().at(1).toObject().value("type").toString(), "CHORUS");

    r = PlaxbridgeProcess::run({"show", path("festival.KX9F"), "--scene", "2.00"});
    EXPECT_TRUE(r.out.contains("  19   [Host Mic]            -30.0 on  C       DiodeBridgeComp\n")) << r.show();

    // The page: every strip drawn, and valid HTML where Debian's html5lib is there.
    r = PlaxbridgeProcess::run({"show", path("festival.KX9F"), "--html", path("show.html")});
    ASSERT_EQ(r.exitCode, 0) << r.show();
    QFile page(path("show.html"));
    page.open(QIODevice::ReadOnly);
    const QByteArray html = page.readAll();
    EXPECT_EQ(html.count("class=\"strip"), 4 * 208);   // the current memory and three scenes
    EXPECT_TRUE(html.contains("data-kind=\"InputChannel\" data-channel=\"18\" data-fader=\"-3000\""));
    if (QProcess::execute("/usr/bin/python3", {"-c", "import html5lib"}) != 0)
        GTEST_SKIP() << "no python3-html5lib: the page's validity is not checked";
    EXPECT_EQ(QProcess::execute("/usr/bin/python3",
                                {"-c", "import html5lib,sys; html5lib.HTMLParser(strict=True).parse(open(sys.argv[1],'rb'))",
                                 path("show.html")}),
              0);
}

} // namespace
