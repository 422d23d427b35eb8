// Scene memories and scene information through the plug-in's IMixer,
// against the editor program.
#include "EditorHarness.h"

#include "host/IMixer.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

QString sceneNumberOf(const QJsonObject& request)
{
    return infoOf(request).value("prmSceneNumber").toString();
}

} // namespace

class EditorScenes : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        harness = new EditorHarness();
        mixer = harness->create();
    }
    static void TearDownTestSuite()
    {
        EXPECT_TRUE(harness->destroy(mixer));
        delete harness;
    }
    void SetUp() override { ASSERT_NE(mixer, nullptr); }

    static EditorHarness* harness;
    static IMixer* mixer;
};

EditorHarness* EditorScenes::harness = nullptr;
IMixer* EditorScenes::mixer = nullptr;

// One test: the parking scene is made once per mixer.
TEST_F(EditorScenes, ParkingSceneLifeCycle)
{
    LogCapture log;
    // Scene 0 first: no parking store.
    int mark = harness->mark();
    mixer->SetCurrentSceneMemory(0);
    QList<QJsonObject> sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(commandOf(sent[0]), "set_prm_val");
    EXPECT_EQ(infoOf(sent[0]).value("prmAddr").toString(), "/Setup/RackAllocation:0/RecallSafe:0/On:0");
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toInt(-1), 0);
    EXPECT_EQ(commandOf(sent[1]), "set_scene_recall");
    EXPECT_EQ(infoOf(sent[1]).value("prmSceneCategory").toString(), "UserA");
    EXPECT_EQ(sceneNumberOf(sent[1]), "0.00");
    EXPECT_TRUE(log.contains("###QORA: Recall Scene[UserA, 0.00]"));

    // Without a parking scene a re-recall sends nothing.
    mark = harness->mark();
    mixer->SetCurrentSceneMemory();
    EXPECT_TRUE(harness->requestsSince(mark).isEmpty());

    mixer->StoreCurrentSceneMemory(5);
    EXPECT_TRUE(log.contains("###QORA: Store Scene[UserA, 0.05]"));

    // The first recall of another scene parks the current memory first.
    mark = harness->mark();
    mixer->SetCurrentSceneMemory(5);
    sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(commandOf(sent[0]), "set_prm_val");
    EXPECT_EQ(commandOf(sent[1]), "set_scene_store");
    EXPECT_EQ(sceneNumberOf(sent[1]), "999.99");
    EXPECT_EQ(infoOf(sent[1]).value("prmSceneTitle").toString(), "Scene999.99");
    EXPECT_EQ(infoOf(sent[1]).value("prmSceneComment").toString(), "Comment / Scene999.99");
    EXPECT_EQ(commandOf(sent[2]), "set_prm_val");
    EXPECT_EQ(commandOf(sent[3]), "set_scene_recall");
    EXPECT_EQ(sceneNumberOf(sent[3]), "0.05");

    // Later recalls park nothing; the re-recall goes back to the parking scene.
    mark = harness->mark();
    mixer->SetCurrentSceneMemory(0);
    mixer->SetCurrentSceneMemory();
    sent = withCommand(harness->requestsSince(mark), "set_scene_recall");
    EXPECT_TRUE(withCommand(harness->requestsSince(mark), "set_scene_store").isEmpty());
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sceneNumberOf(sent[1]), "999.99");

    // The parking scene never counts as data; it is not even asked about.
    mark = harness->mark();
    log.clear();
    EXPECT_FALSE(mixer->SceneLibraryHasData(99999));
    EXPECT_TRUE(harness->requestsSince(mark).isEmpty());
    EXPECT_TRUE(log.contains("SceneLibraryHasData = 99999"));
    EXPECT_TRUE(mixer->SceneLibraryHasData(5));
    EXPECT_FALSE(mixer->SceneLibraryHasData(6));
    EXPECT_TRUE(mixer->LibraryHasValidData(99999));

    log.clear();
    mixer->SetCurrentSceneMemory(7); // never stored
    EXPECT_TRUE(log.contains("###QORA: Recall Scene[UserA, 0.07] ERROR"));
}

TEST_F(EditorScenes, SceneListGivesHostNumbers)
{
    mixer->StoreCurrentSceneMemory(1250);
    mixer->StoreCurrentSceneMemory(30000);
    mixer->StoreCurrentSceneMemory(101);

    std::vector<unsigned int> scenes(501, 0xDEADu);
    unsigned int count = 0;
    const int mark = harness->mark();
    mixer->GetSceneList(count, scenes.data());
    EXPECT_EQ(harness->requestsSince(mark).size(), 500);
    ASSERT_GE(count, 4u);
    EXPECT_EQ(scenes[0], 0u);
    QSet<unsigned int> listed;
    for (unsigned int i = 1; i < count; ++i)
        listed.insert(scenes[i]);
    EXPECT_TRUE(listed.contains(1250));
    EXPECT_TRUE(listed.contains(30000));
    EXPECT_TRUE(listed.contains(101));
    EXPECT_EQ(listed.size(), int(count - 1));
    EXPECT_EQ(scenes[count], 0xDEADu);

    // A smaller capacity is never overrun.
    std::vector<unsigned int> small(6, 0xBEEFu);
    unsigned int capacity = 3;
    mixer->GetSceneList(capacity, small.data());
    EXPECT_EQ(capacity, 3u);
    EXPECT_EQ(small[0], 0u);
    EXPECT_EQ(small[1], scenes[1]);
    EXPECT_EQ(small[2], scenes[2]);
    EXPECT_EQ(small[3], 0xBEEFu);

    unsigned int needed = 0;
    mixer->GetSceneList(needed, nullptr);
    EXPECT_EQ(needed, count);
}

TEST_F(EditorScenes, TitlesCommentsAndProtect)
{
    mixer->StoreCurrentSceneMemory(123);
    LogCapture log;
    const int mark = harness->mark();
    std::string title = "Kick \xC3\xBC Snare";
    mixer->SetTitle(title, 123);
    const QList<QJsonObject> sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(infoOf(sent[0]).value("prmSceneInfoType").toString(), "Title");
    EXPECT_EQ(sceneNumberOf(sent[0]), "1.23");
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toString(), QString::fromUtf8("Kick \xC3\xBC Snare"));
    EXPECT_TRUE(log.contains("targetLibraryId test"));
    EXPECT_EQ(mixer->GetTitle(123), title);

    std::string comment = "two\nlines";
    mixer->SetComment(comment, 123);
    EXPECT_EQ(mixer->GetComment(123), comment);

    mixer->SetProtect(true, 123);
    EXPECT_TRUE(mixer->GetProtect(123));
    mixer->SetProtect(false, 123);
    EXPECT_FALSE(mixer->GetProtect(123));

    log.clear();
    EXPECT_EQ(mixer->GetTitle(124), "");
    EXPECT_TRUE(log.contains("###QORA: GetTitle[UserA, 1.24] ERROR"));
    EXPECT_EQ(mixer->GetComment(124), "");
    EXPECT_TRUE(log.contains("###QORA: GetComment[UserA, 1.24] ERROR"));
    std::string rejected = "x";
    mixer->SetTitle(rejected, 124);
    EXPECT_TRUE(log.contains("###QORA: SetTitle[UserA, 1.24, x] ERROR"));
    mixer->SetComment(rejected, 124);
    EXPECT_TRUE(log.contains("###QORA: SetComment[UserA, 1.24, x] ERROR"));
    mixer->SetProtect(true, 124);
    EXPECT_TRUE(log.contains("###QORA: SetProtect[UserA, 1.24, on] ERROR"));
}

TEST_F(EditorScenes, TimeStampsReadAndWriteBackUnchanged)
{
    mixer->StoreCurrentSceneMemory(200);
    DateTime known;
    known.year = 24;
    known.hour = 13;
    known.minute = 5;
    known.second = 9;
    int mark = harness->mark();
    mixer->SetDateTime(known, 200);
    QList<QJsonObject> sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(infoOf(sent[0]).value("prmSceneInfoType").toString(), "TimeStamp");
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toString(), "20240101130509");

    // Month 01 and day 01 read as 0.
    const DateTime read = mixer->GetDateTime(200);
    EXPECT_EQ(fieldsOf(read), (std::array<int, 6>{24, 0, 0, 13, 5, 9}));

    mark = harness->mark();
    mixer->SetDateTime(read, 200);
    sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toString(), "20240101130509");

    // The editor's own stamp of a fresh store survives a round trip too.
    mixer->StoreCurrentSceneMemory(201);
    const DateTime stamped = mixer->GetDateTime(201);
    EXPECT_GE(stamped.year, 24);
    mixer->SetDateTime(stamped, 201);
    EXPECT_EQ(fieldsOf(mixer->GetDateTime(201)), fieldsOf(stamped));

    // An impossible date has no text and is not sent.
    LogCapture log;
    DateTime bad = known;
    bad.month = 12;
    mark = harness->mark();
    mixer->SetDateTime(bad, 200);
    EXPECT_TRUE(harness->requestsSince(mark).isEmpty());
    EXPECT_TRUE(log.contains("###QORA: SetDateTime[UserA, 2.00, ] ERROR"));
}
