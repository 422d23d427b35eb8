// An editor that refuses every parameter write and one scene-list row, and
// reports DCA 1's name as a number: the default-value sequences still run in
// full, and the scene list and name list reads fail with the host's
// exceptions.
#include "EditorHarness.h"

#include "host/ConverterException.h"
#include "host/IMixer.h"
#include "host/IParameter.h"
#include "host/MixerException.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <memory>

class RefusingEditor : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        harness = new EditorHarness(EditorHarness::realEditor(),
                                    "--ng-match=set_prm_val --ng-match=setData_prm_val --ng-match=Info:3/SceneNumber "
                                    "--force-type=4:DCA:1/Label");
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

EditorHarness* RefusingEditor::harness = nullptr;
IMixer* RefusingEditor::mixer = nullptr;

TEST_F(RefusingEditor, DefaultValueSequencesRunInFull)
{
    LogCapture log;
    // A recall makes the first reset count.
    mixer->SetCurrentSceneMemory(0);
    EXPECT_TRUE(log.contains("setRecallSafeSetting ERROR"));
    EXPECT_TRUE(log.contains("###QORA: Recall Scene[UserA, 0.00]"));
    mixer->StoreCurrentSceneMemory(300);
    mixer->SetCurrentSceneMemory(300);

    log.clear();
    const int mark = harness->mark();
    mixer->ResetMixerMemory(nullptr);
    const QList<QJsonObject> sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 1 + 16 * 70 + 2 + 32 * 5 + 1);
    EXPECT_EQ(commandOf(sent[0]), "set_init_current");
    EXPECT_TRUE(log.contains("###QORA: Initialize Current Memories"));

    // Every single write, the two patch batches and the recall safe.
    EXPECT_EQ(log.lines().filter(QRegularExpression("^###QORA: SetMMSValue\\[.*\\] ERROR$")).size(),
              16 * 70 + 32 * 5 + 2 + 1);
    EXPECT_TRUE(log.contains("###QORA: SetMMSValue[/Mixing/InputChannel:119/InPatch:0/Bank:1/Source:0] ERROR"));
}

// GetSceneList into a buffer of 8 must throw and leave the buffer and its
// count alone; the requests it sent.
static QList<QJsonObject> failedSceneListRead(EditorHarness* harness, IMixer* mixer)
{
    unsigned int scenes[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    unsigned int count = 8;
    const int mark = harness->mark();
    try {
        mixer->GetSceneList(count, scenes);
        ADD_FAILURE() << "no exception";
    } catch (ConverterException* e) {
        std::unique_ptr<ConverterException> owned(e);
        EXPECT_STREQ(e->what(), "GetMMSSceneList() failed.");
    }
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(scenes[0], 9u);
    return harness->requestsSince(mark);
}

TEST_F(RefusingEditor, SceneListReadFailureThrows)
{
    const QList<QJsonObject> sent = failedSceneListRead(harness, mixer);
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(infoOf(sent[3]).value("prmAddr").toString(), "/SceneList/Bank:0/Info:3/SceneNumber:0");
}

TEST_F(RefusingEditor, NonTextNameThrowsMixerException)
{
    QStringList names{"kept"};
    try {
        mixer->GetNameParameterList(4, names);
        FAIL() << "no exception";
    } catch (MixerException* e) {
        std::unique_ptr<MixerException> owned(e);
        EXPECT_STREQ(e->what(), "GetMMSStrValue() MMS value type is not string.");
        EXPECT_EQ(e->source(), "QORA");
        EXPECT_EQ(e->code(), -1);
    }
    EXPECT_EQ(names, (QStringList{"kept", "/Mixing/DCA/Label:0/Name:0/MMS", ""}));
}

// The default write path against an editor that refuses one value: the
// batch is resent until only that write is left out.
TEST(BatchedRefusal, OnlyTheRefusedWriteIsLost)
{
    EditorHarness harness(EditorHarness::realEditor(), "--ng-match=:-1007}", "batched");
    IMixer* mixer = harness.create();
    ASSERT_NE(mixer, nullptr);
    IParameter* level = mixer->CreateParameter("/Mixing/InputChannel/Fader/Level/MMS");
    LogCapture log;
    const int mark = harness.mark();
    for (int channel = 0; channel < 120; ++channel)
        mixer->SetValue(level, channel, -(1000 + channel), 0);
    EXPECT_EQ(mixer->GetValue(level, 6, 0), -1006);
    EXPECT_EQ(mixer->GetValue(level, 7, 0), 0);
    EXPECT_EQ(mixer->GetValue(level, 119, 0), -1119);
    EXPECT_EQ(log.lines().filter("] ERROR"),
              QStringList{"###QORA: SetMMSValue[/Mixing/InputChannel:7/Fader/Level/MMS] ERROR"});
    EXPECT_LT(harness.requestsSince(mark).size(), 20);
    level->Destroy();
    EXPECT_TRUE(harness.destroy(mixer));
}

// The same editor in the default wire mode: the scene list is one list
// read, and one refused row fails it as a whole.
class RefusingEditorBatched : public RefusingEditor
{
protected:
    static void SetUpTestSuite()
    {
        harness = new EditorHarness(EditorHarness::realEditor(), "--ng-match=Info:3/SceneNumber", "batched");
        mixer = harness->create();
    }
};

TEST_F(RefusingEditorBatched, SceneListReadFailureThrowsAfterOneRead)
{
    const QList<QJsonObject> sent = failedSceneListRead(harness, mixer);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(commandOf(sent[0]), "getData_prm_val");
    EXPECT_EQ(sent[0].value("cmdinfo").toObject().value("list").toArray().size(), 500);
}
