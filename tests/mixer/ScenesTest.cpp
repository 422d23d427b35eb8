// Scene memories and scene information through the plug-in's IMixer,
// against the editor program.
#include "EditorHarness.h"

#include "host/IMixer.h"

#include <QSet>

namespace {

QString sceneNumberOf(const QJsonObject& request)
{
    return infoOf(request).value("prmSceneNumber").toString();
}

} // namespace

using EditorScenes = SharedEditor;

// The parking scene is made once per mixer: this test needs a new one.
TEST_F(EditorScenes, ParkingSceneLifeCycle)
{
    restart();
    LogCapture log;
    // Scene 0 first: no parking store.
    int mark = harness().mark();
    mixer->SetCurrentSceneMemory(0);
    QList<QJsonObject> sent = harness().requestsSince(mark);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(addressOf(sent[0]), "/Setup/RackAllocation:0/RecallSafe:0/On:0");
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toInt(-1), 0);
    EXPECT_EQ(commandOf(sent[1]), "set_scene_recall");
    EXPECT_EQ(infoOf(sent[1]).value("prmSceneCategory").toString(), "UserA");
    EXPECT_EQ(sceneNumberOf(sent[1]), "0.00");
    EXPECT_TRUE(log.contains("###QORA: Recall Scene[UserA, 0.00]"));

    // Without a parking scene a re-recall sends nothing.
    mark = harness().mark();
    mixer->SetCurrentSceneMemory();
    EXPECT_TRUE(harness().requestsSince(mark).isEmpty());

    mixer->StoreCurrentSceneMemory(5);
    EXPECT_TRUE(log.contains("###QORA: Store Scene[UserA, 0.05]"));

    // The first recall of another scene parks the current memory first.
    mark = harness().mark();
    mixer->SetCurrentSceneMemory(5);
    sent = harness().requestsSince(mark);
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(commandOf(sent[1]), "set_scene_store");
    EXPECT_EQ(sceneNumberOf(sent[1]), "999.99");
    EXPECT_EQ(infoOf(sent[1]).value("prmSceneTitle").toString(), "Scene999.99");
    EXPECT_EQ(infoOf(sent[1]).value("prmSceneComment").toString(), "Comment / Scene999.99");
    EXPECT_EQ(sceneNumberOf(sent[3]), "0.05");

    // Later recalls park nothing; the re-recall goes back to the parking scene.
    mark = harness().mark();
    mixer->SetCurrentSceneMemory(0);
    mixer->SetCurrentSceneMemory();
    EXPECT_TRUE(withCommand(harness().requestsSince(mark), "set_scene_store").isEmpty());
    sent = withCommand(harness().requestsSince(mark), "set_scene_recall");
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sceneNumberOf(sent[1]), "999.99");

    // The parking scene never counts as data; it is not even asked about.
    mark = harness().mark();
    EXPECT_FALSE(mixer->SceneLibraryHasData(99999));
    EXPECT_TRUE(harness().requestsSince(mark).isEmpty());
    EXPECT_TRUE(mixer->SceneLibraryHasData(5));
    EXPECT_FALSE(mixer->SceneLibraryHasData(6));
    EXPECT_TRUE(mixer->LibraryHasValidData(99999));

    mixer->SetCurrentSceneMemory(7); // never stored
    EXPECT_TRUE(log.contains("###QORA: Recall Scene[UserA, 0.07] ERROR"));
}

// Stored scenes read back as host numbers after scene 0; the values and the
// information of converted scenes are checked end to end (tests/plaxbridge).
TEST_F(EditorScenes, SceneListGivesHostNumbers)
{
    for (int scene : {1250, 30000, 101})
        mixer->StoreCurrentSceneMemory(scene);
    std::vector<unsigned int> scenes(501, 0xDEADu);
    unsigned int count = 0;
    const int mark = harness().mark();
    mixer->GetSceneList(count, scenes.data());
    EXPECT_EQ(harness().requestsSince(mark).size(), 500);
    ASSERT_TRUE(count >= 4 && scenes[0] == 0) << count;
    const QSet<unsigned int> listed(scenes.begin() + 1, scenes.begin() + count);
    EXPECT_TRUE(listed.contains(1250) && listed.contains(30000) && listed.contains(101));
    EXPECT_EQ(listed.size(), int(count - 1));
    EXPECT_EQ(scenes[count], 0xDEADu);
    // A smaller capacity is never overrun; no buffer asks for the size.
    std::vector<unsigned int> small(4, 0xBEEFu);
    unsigned int capacity = 3;
    mixer->GetSceneList(capacity, small.data());
    EXPECT_EQ(small, (std::vector<unsigned int>{0, scenes[1], scenes[2], 0xBEEFu}));
    unsigned int needed = 0;
    mixer->GetSceneList(needed, nullptr);
    EXPECT_EQ(needed, count);
}

// Scene 1.24 was never stored: every call fails and says so; an impossible
// date has no text and is not sent.
TEST_F(EditorScenes, SceneInformationFailures)
{
    LogCapture log;
    mixer->StoreCurrentSceneMemory(123);
    DateTime impossible;
    impossible.month = 12;
    const int mark = harness().mark();
    mixer->SetDateTime(impossible, 123);
    EXPECT_TRUE(harness().requestsSince(mark).isEmpty());
    EXPECT_EQ(mixer->GetTitle(124), "");
    EXPECT_EQ(mixer->GetComment(124), "");
    std::string rejected = "x";
    mixer->SetTitle(rejected, 124);
    mixer->SetComment(rejected, 124);
    mixer->SetProtect(true, 124);
    for (const char* line : {"SetDateTime[UserA, 1.23, ] ERROR", "GetTitle[UserA, 1.24] ERROR",
                             "GetComment[UserA, 1.24] ERROR", "SetTitle[UserA, 1.24, x] ERROR",
                             "SetComment[UserA, 1.24, x] ERROR", "SetProtect[UserA, 1.24, on] ERROR"})
        EXPECT_TRUE(log.contains(QStringLiteral("###QORA: ") + line)) << line;
}
