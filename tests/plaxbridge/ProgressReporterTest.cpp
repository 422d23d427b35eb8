#include "ProgressReporter.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Captures what a reporter writes.
class Capture {
public:
    Capture() : m_file(open_memstream(&m_buffer, &m_size)) {}
    ~Capture()
    {
        std::fclose(m_file);
        std::free(m_buffer);
    }
    std::FILE* file() const { return m_file; }
    std::string text()
    {
        std::fflush(m_file);
        return std::string(m_buffer, m_size);
    }

private:
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
    std::FILE* m_file;
};

} // namespace

TEST(ProgressReporter, SceneNumbersAndBars)
{
    EXPECT_EQ(ProgressReporter::sceneText(105), QStringLiteral("1.05"));
    EXPECT_EQ(ProgressReporter::sceneText(250), QStringLiteral("2.50"));
    EXPECT_EQ(ProgressReporter::sceneText(99998), QStringLiteral("999.98"));
    EXPECT_EQ(ProgressReporter::bar(0.0, 4), QStringLiteral("[....]"));
    EXPECT_EQ(ProgressReporter::bar(0.5, 10), QStringLiteral("[#####.....]"));
    EXPECT_EQ(ProgressReporter::bar(1.7, 4), QStringLiteral("[####]"));
    EXPECT_EQ(ProgressReporter::bar(-1.0, 4), QStringLiteral("[....]"));
}

TEST(ProgressReporter, LinesModeWritesOneLinePerPhaseAndSceneEdge)
{
    Capture out;
    ProgressReporter progress(ProgressReporter::Mode::Lines, out.file());
    progress.phase(QStringLiteral("saving"));
    progress.beginScene(1, 3, 250, QStringLiteral("Encore \"X\""), 1710);
    progress.parameter(900, QStringLiteral("/Mixing/Mix/Fader/Level/MMS"));
    progress.endScene(12, 3, 1.24);
    progress.finish();
    EXPECT_EQ(out.text(), "saving\n"
                          "scene 2/3: 2.50 \"Encore \\\"X\\\"\", 1710 parameters\n"
                          "scene 2/3 stored as 2.50: 12 values written, 3 left alone, 1.2 s\n");
}

TEST(ProgressReporter, BarModeRedrawsInPlaceAndClearsBeforeOtherOutput)
{
    Capture out;
    ProgressReporter progress(ProgressReporter::Mode::Bar, out.file());
    progress.beginScene(0, 2, 100, QStringLiteral("A"), 10);
    progress.parameter(10, QStringLiteral("/last/MMS"));   // the scene's end is always drawn
    progress.phase(QStringLiteral("copying the name lists"));
    const std::string text = out.text();
    EXPECT_EQ(text.find('\n'), text.rfind('\n')) << text;   // bars never end a line
    EXPECT_NE(text.find("\r\033[K[###############...............]  50%  scene 1/2 (1.00)  /last/MMS"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\033[Kcopying the name lists\n"), std::string::npos) << text;
}

TEST(ProgressReporter, NoneModeIsSilent)
{
    Capture out;
    ProgressReporter progress(ProgressReporter::Mode::None, out.file());
    progress.phase(QStringLiteral("saving"));
    progress.beginScene(0, 1, 100, QStringLiteral("A"), 1);
    progress.parameter(1, QStringLiteral("/x/MMS"));
    progress.endScene(1, 0, 0.1);
    progress.finish();
    EXPECT_EQ(out.text(), "");
}

TEST(ProgressReporter, JsonModeWritesOneObjectPerEventAndThrottlesParameters)
{
    Capture out;
    ProgressReporter progress(ProgressReporter::Mode::Json, out.file());
    progress.phase(QStringLiteral("saving"));
    progress.beginScene(1, 3, 250, QStringLiteral("Encore \"X\"\n"), 1000);
    for (int done = 1; done <= 1000; ++done)
        progress.parameter(done, QStringLiteral("/p%1/MMS").arg(done));
    progress.endScene(12, 3, 1.2344);
    progress.finish();
    progress.end(1, QJsonObject());
    progress.end(0, {{QStringLiteral("scenes"), 3}});

    std::vector<QJsonObject> events;
    for (const QByteArray& line : QByteArray::fromStdString(out.text()).split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        ASSERT_TRUE(document.isObject()) << line.toStdString();
        events.push_back(document.object());
    }
    // Parameters arrive far faster than ten a second: only a few updates, the last one always.
    ASSERT_GE(events.size(), 6u);
    EXPECT_LT(events.size(), 20u);
    auto at = [&](std::size_t fromEnd) { return events[events.size() - fromEnd]; };
    EXPECT_EQ(events[0], QJsonObject({{"event", "phase"}, {"text", "saving"}}));
    EXPECT_EQ(events[1], QJsonObject({{"event", "sceneBegin"}, {"index", 1}, {"count", 3}, {"number", 250},
                                      {"title", "Encore \"X\"\n"}, {"parameters", 1000}}));
    EXPECT_EQ(at(4), QJsonObject({{"event", "progress"}, {"index", 1}, {"done", 1000},
                                  {"parameters", 1000}, {"name", "/p1000/MMS"}}));
    EXPECT_EQ(at(3), QJsonObject({{"event", "sceneEnd"}, {"index", 1}, {"count", 3}, {"number", 250},
                                  {"written", 12}, {"leftAlone", 3}, {"seconds", 1.234}}));
    EXPECT_EQ(at(2), QJsonObject({{"event", "end"}, {"status", 1}}));
    EXPECT_EQ(at(1), QJsonObject({{"event", "end"}, {"status", 0}, {"summary", QJsonObject{{"scenes", 3}}}}));
}
