#include "Rq10Setup.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray withScenes(const char* extraTop, const char* scene)
{
    return QByteArray(R"({"format": "rq10-setup", "version": 1, "model": "RQ10")") + extraTop
           + R"(, "scenes": [)" + scene + "]}";
}

const char kScene[] = R"({"number": 100})";

std::string parseError(const QByteArray& json)
{
    Rq10Setup setup;
    QString error;
    if (Rq10Setup::parse(json, setup, error))
        return "<parsed>";
    return error.toStdString();
}

} // namespace

TEST(Rq10Setup, TheShippedSampleIsAValidSetup)
{
    Rq10Setup setup;
    QString error;
    ASSERT_TRUE(Rq10Setup::load(QStringLiteral(QORA_SOURCE_DIR "/examples/rq10-festival.json"),
                                setup, error))
        << error.toStdString();
    EXPECT_EQ(setup.model, "RQ10");
    ASSERT_EQ(setup.scenes.size(), 3u);
    EXPECT_EQ(setup.scenes[0].number, 100);
    EXPECT_EQ(setup.scenes[2].number, 250);
    EXPECT_EQ(setup.scenes[2].title, "Encore \"Skyline\"");
    EXPECT_TRUE(setup.scenes[1].protect);
    EXPECT_EQ(setup.scenes[1].time.day, 13);
    // Range keys cover exactly their channels.
    const auto& on = setup.values.at("/Mixing/InputChannel/Fader/On/MMS");
    EXPECT_EQ(on.size(), 24u);
    EXPECT_EQ(on.count(23), 1u);
    EXPECT_EQ(on.count(24), 0u);
    EXPECT_EQ(setup.names.at(0).at(15), "Vox Lead");
}

TEST(Rq10Setup, ValueFormsCoverTheirChannels)
{
    Rq10Setup setup;
    QString error;
    const QByteArray json = withScenes(
        R"(, "values": {
             "/Mixing/Stereo/Fader/Level/MMS": -100,
             "/Mixing/Mix/Fader/On/MMS": [1, null, 0],
             "/Mixing/DCA/Fader/Level/MMS": {"2": 5, "4-6": -7, "31": 9}})",
        R"({"number": 101, "values": {"/Mixing/Stereo/Fader/Level/MMS": {"3": 0}}})");
    ASSERT_TRUE(Rq10Setup::parse(json, setup, error)) << error.toStdString();
    const auto& stereo = setup.values.at("/Mixing/Stereo/Fader/Level/MMS");
    EXPECT_EQ(stereo.size(), 4u);   // the RQ10 has 4 stereo buses
    EXPECT_EQ(stereo.at(3), -100);
    const auto& mix = setup.values.at("/Mixing/Mix/Fader/On/MMS");
    EXPECT_EQ(mix.size(), 2u);      // null leaves channel 1 alone
    EXPECT_EQ(mix.at(2), 0);
    const auto& dca = setup.values.at("/Mixing/DCA/Fader/Level/MMS");
    EXPECT_EQ(dca, (std::map<int, int>{{2, 5}, {4, -7}, {5, -7}, {6, -7}, {31, 9}}));
    EXPECT_EQ(setup.scenes[0].values.at("/Mixing/Stereo/Fader/Level/MMS").at(3), 0);
    EXPECT_EQ(setup.scenes[0].time.year, 0);
    EXPECT_EQ(setup.scenes[0].title, "");
    EXPECT_EQ(setup.names.size(), 9u);
}

TEST(Rq10Setup, ProblemsAreNamedWithTheirPlace)
{
    struct Case {
        QByteArray json;
        const char* expected;   // a part of the message
    };
    const Case cases[] = {
        {"{\"format\": ", "not valid JSON"},
        {R"({"model": "RQ10", "scenes": []})", "missing \"format\""},
        {R"({"format": "rq9-setup"})", "\"format\" must be \"rq10-setup\""},
        {R"({"format": "rq10-setup", "version": 2, "model": "RQ10", "scenes": [{"number": 1}]})",
         "\"version\" must be 1"},
        {R"({"format": "rq10-setup", "version": 1, "scenes": [{"number": 1}]})", "\"model\""},
        {R"({"format": "rq10-setup", "version": 1, "model": "RQ10", "scenes": []})",
         "\"scenes\" must be a non-empty array"},
        {withScenes(", \"colour\": 1", kScene), "top level: unknown key \"colour\""},
        {withScenes("", R"({"number": 0})"), "scenes[0]: \"number\" must be an integer from 1 to 99998"},
        {withScenes("", R"({"number": 99999})"), "from 1 to 99998"},
        {withScenes("", R"({"number": 100}, {"number": 100})"), "scenes[1]: scene number 100 occurs twice"},
        {withScenes("", R"({"number": 100, "titel": "x"})"), "scenes[0]: unknown key \"titel\""},
        {withScenes("", R"({"number": 100, "protect": "yes"})"), "\"protect\" must be true or false"},
        {withScenes("", R"({"number": 100, "time": "14.06.2024"})"), "scenes[0]: \"time\""},
        {withScenes("", R"({"number": 100, "time": "1999-12-31T23:59:59"})"), "year 2000 or later"},
        {withScenes("", R"({"number": 100, "values": {"/FX/FX/Bypass:0/MMS": 1}})"),
         "scenes[0].values[\"/FX/FX/Bypass:0/MMS\"]: not a numeric parameter of the RQ10"},
        {withScenes(R"(, "values": {"/Mixing/InputChannel/Fader/Level/MMS": {"144": 1}})", kScene),
         "\"144\" is not a channel or range within 0..143"},
        {withScenes(R"(, "values": {"/Mixing/InputChannel/Fader/Level/MMS": {"5-2": 1}})", kScene),
         "\"5-2\" is not a channel or range"},
        {withScenes(R"(, "values": {"/Mixing/Stereo/Fader/Level/MMS": [1, 2, 3, 4, 5]})", kScene),
         "5 values for 4 channels"},
        {withScenes(R"(, "values": {"/Mixing/Stereo/Fader/Level/MMS": [1, 2.5]})", kScene),
         "values[\"/Mixing/Stereo/Fader/Level/MMS\"][1]: not a 32-bit integer"},
        {withScenes(R"(, "values": {"/Mixing/Stereo/Fader/Level/MMS": "3"})", kScene),
         "must be an integer, an array or an object of channels"},
        {withScenes(R"(, "names": {"/Mixing/Foo/Label:0/Name:0/MMS": []})", kScene),
         "not a name list of the RQ10"},
        {withScenes(R"(, "names": {"/Mixing/Stereo/Label:0/Name:0/MMS": ["a", "b", "c", "d", "e"]})", kScene),
         "5 names for 4 channels"},
        {withScenes(R"(, "names": {"/Mixing/Stereo/Label:0/Name:0/MMS": ["a", 2]})", kScene),
         "[1]: not a text"},
    };
    for (const Case& c : cases) {
        const std::string error = parseError(c.json);
        EXPECT_NE(error.find(c.expected), std::string::npos)
            << "json: " << c.json.toStdString() << "\nerror: " << error;
    }
}

TEST(Rq10Setup, AFailedParseLeavesTheSetupAsItWas)
{
    Rq10Setup setup;
    setup.model = "before";
    QString error;
    EXPECT_FALSE(Rq10Setup::parse(withScenes("", R"({"number": -3})"), setup, error));
    EXPECT_EQ(setup.model, "before");
    EXPECT_TRUE(setup.scenes.empty());
}

TEST(Rq10Setup, LoadReportsMissingAndUnreadableFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Rq10Setup setup;
    QString error;
    const QString missing = dir.filePath(QStringLiteral("missing.json"));
    EXPECT_FALSE(Rq10Setup::load(missing, setup, error));
    EXPECT_EQ(error, missing + QStringLiteral(": no such file"));
    EXPECT_FALSE(Rq10Setup::load(dir.path(), setup, error));
    EXPECT_TRUE(error.startsWith(dir.path() + QStringLiteral(": ")));
}
