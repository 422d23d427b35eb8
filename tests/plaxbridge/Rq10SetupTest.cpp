// The setup reader's forms of values and its messages; reading the shipped
// sample is covered by its conversion.
#include "DescriptorList.h"
#include "Rq10Setup.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Channels = std::vector<std::pair<int, int>>;

QByteArray withScenes(const char* extraTop, const char* scene = R"({"number": 100})")
{
    return QByteArray(R"({"format": "rq10-setup", "version": 1, "model": "RQ10")") + extraTop
           + R"(, "scenes": [)" + scene + "]}";
}

} // namespace

TEST(Rq10Setup, ValueFormsCoverTheirChannels)
{
    Rq10Setup setup;
    QString error;
    ASSERT_TRUE(Rq10Setup::parse(withScenes(R"(, "values": {
             "/Mixing/Stereo/Fader/Level/MMS": -100,
             "/Mixing/Mix/Fader/On/MMS": [1, null, 0],
             "/Mixing/DCA/Fader/Level/MMS": {"2": 5, "4-6": -7, "31": 9}})",
                                            R"({"number": 101, "values": {"/Mixing/Stereo/Fader/Level/MMS": {"3": 0}}})"),
                                 setup, error))
        << error.toStdString();
    // One value for all 4 stereo buses; null leaves a channel alone; ranges
    // cover exactly their channels.
    EXPECT_EQ(setup.values.at("/Mixing/Stereo/Fader/Level/MMS"), (Channels{{0, -100}, {1, -100}, {2, -100}, {3, -100}}));
    EXPECT_EQ(setup.values.at("/Mixing/Mix/Fader/On/MMS"), (Channels{{0, 1}, {2, 0}}));
    EXPECT_EQ(setup.values.at("/Mixing/DCA/Fader/Level/MMS"), (Channels{{2, 5}, {4, -7}, {5, -7}, {6, -7}, {31, 9}}));
    EXPECT_EQ(setup.scenes[0].values.at("/Mixing/Stereo/Fader/Level/MMS"), (Channels{{3, 0}}));
    EXPECT_EQ(setup.scenes[0].time.year, 0);
    EXPECT_EQ(setup.names.size(), 9u);
}

TEST(Rq10Setup, ProblemsAreNamedWithTheirPlace)
{
    const struct {
        QByteArray json;
        const char* expected;   // a part of the message
    } rows[] = {
        {"{\"format\": ", "not valid JSON"},
        {R"({"model": "RQ10", "scenes": []})", "missing \"format\""},
        {R"({"format": "rq9-setup"})", "\"format\" must be \"rq10-setup\""},
        {R"({"format": "rq10-setup", "version": 2, "model": "RQ10", "scenes": [{"number": 1}]})", "\"version\" must be 1"},
        {R"({"format": "rq10-setup", "version": 1, "scenes": [{"number": 1}]})", "\"model\""},
        {R"({"format": "rq10-setup", "version": 1, "model": "RQ10", "scenes": []})", "\"scenes\" must be a non-empty array"},
        {withScenes(", \"colour\": 1"), "top level: unknown key \"colour\""},
        {withScenes("", R"({"number": 0})"), "scenes[0]: \"number\" must be an integer from 1 to 99998"},
        {withScenes("", R"({"number": 100}, {"number": 100})"), "scenes[1]: scene number 100 occurs twice"},
        {withScenes("", R"({"number": 100, "titel": "x"})"), "scenes[0]: unknown key \"titel\""},
        {withScenes("", R"({"number": 100, "protect": "yes"})"), "\"protect\" must be true or false"},
        {withScenes("", R"({"number": 100, "time": "14.06.2024"})"), "scenes[0]: \"time\""},
        {withScenes("", R"({"number": 100, "time": "1999-12-31T23:59:59"})"), "year 2000 or later"},
        {withScenes("", R"({"number": 100, "values": {"/FX/FX/Bypass:0/MMS": 1}})"),
         "scenes[0].values[\"/FX/FX/Bypass:0/MMS\"]: not a numeric parameter of the RQ10"},
        {withScenes(R"(, "values": [])"), "values: must be an object of parameter names"},
        {withScenes(R"(, "values": {"/Mixing/InputChannel/Fader/Level/MMS": {"144": 1}})"),
         "\"144\" is not a channel or range within 0..143"},
        {withScenes(R"(, "values": {"/Mixing/InputChannel/Fader/Level/MMS": {"5": "x"}})"), "[\"5\"]: not a 32-bit integer"},
        {withScenes(R"(, "values": {"/Mixing/Stereo/Fader/Level/MMS": [1, 2, 3, 4, 5]})"), "5 values for 4 channels"},
        {withScenes(R"(, "values": {"/Mixing/Stereo/Fader/Level/MMS": [1, 2.5]})"),
         "values[\"/Mixing/Stereo/Fader/Level/MMS\"][1]: not a 32-bit integer"},
        {withScenes(R"(, "values": {"/Mixing/Stereo/Fader/Level/MMS": "3"})"),
         "must be an integer, an array or an object of channels"},
        {withScenes(R"(, "names": [])"), "\"names\" must be an object of name lists"},
        {withScenes(R"(, "names": {"/Mixing/Foo/Label:0/Name:0/MMS": []})"), "not a name list of the RQ10"},
        {withScenes(R"(, "names": {"/Mixing/Stereo/Label:0/Name:0/MMS": ["a", 2]})"), "[1]: not a text"},
    };
    for (const auto& row : rows) {
        Rq10Setup setup;
        QString error;
        EXPECT_FALSE(Rq10Setup::parse(row.json, setup, error)) << row.json.toStdString();
        EXPECT_TRUE(error.contains(row.expected)) << row.json.toStdString() << "\nerror: " << error.toStdString();
    }
}

// The descriptor list beside the host program: every way it can be broken is
// named with its place.
TEST(DescriptorList, BrokenListsAreNamed)
{
    QTemporaryDir dir;
    const std::pair<QByteArray, QString> rows[] = {{"", "is empty"},
                                                   {"/A/MMS\n\nB/MMS\n", ":3: not a parameter name"},
                                                   {"/A/MMS\n/A/MMS\n", ":2: /A/MMS is listed twice"}};
    for (const auto& [content, message] : rows) {
        QFile file(dir.filePath("parameters.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        std::vector<std::string> names;
        QString error;
        EXPECT_FALSE(DescriptorList::load(file.fileName(), names, error));
        EXPECT_TRUE(error.contains(message)) << error.toStdString();
    }
    std::vector<std::string> names;
    QString error;
    EXPECT_FALSE(DescriptorList::load(dir.filePath("none.txt"), names, error));
    EXPECT_TRUE(error.startsWith("cannot read the descriptor list")) << error.toStdString();
}
