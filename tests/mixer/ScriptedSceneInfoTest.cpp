// Scene information the real editor never holds, from a scripted editor.
#include "EditorHarness.h"

#include "host/IMixer.h"

#include <gtest/gtest.h>

namespace {

QString scriptedEditor()
{
    return QStringLiteral(QORA_SCRIPTED_EDITOR);
}

} // namespace

TEST(ScriptedSceneInfo, OddProtectTextsAndShortStampsReadAsFallBacks)
{
    qputenv("QORA_SCRIPTED_SCENE_INFO", "Protect=On;TimeStamp=2024010203040;Title=T");
    EditorHarness harness(scriptedEditor());
    IMixer* mixer = harness.create();
    ASSERT_NE(mixer, nullptr);
    LogCapture log;

    EXPECT_FALSE(mixer->GetProtect(5));
    EXPECT_TRUE(log.contains("###QORA: GetProtect[UserA, 0.05] ERROR"));
    const DateTime time = mixer->GetDateTime(5);
    EXPECT_EQ(fieldsOf(time), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(log.contains("###QORA: GetDateTime[UserA, 0.05] ERROR"));
    EXPECT_EQ(mixer->GetTitle(5), "T");
    EXPECT_TRUE(mixer->LibraryHasValidData(5));
    // Not scripted: the editor answers "ng".
    EXPECT_EQ(mixer->GetComment(5), "");
    EXPECT_TRUE(harness.destroy(mixer));
    qunsetenv("QORA_SCRIPTED_SCENE_INFO");
}

TEST(ScriptedSceneInfo, NonNumericStampFieldsReadAsZero)
{
    qputenv("QORA_SCRIPTED_SCENE_INFO", "Protect=off;TimeStamp=2024xx0203040599;Title=");
    EditorHarness harness(scriptedEditor());
    IMixer* mixer = harness.create();
    ASSERT_NE(mixer, nullptr);
    LogCapture log;
    const DateTime time = mixer->GetDateTime(5);
    // "xx" counts as 0.
    EXPECT_EQ(fieldsOf(time), (std::array<int, 6>{24, -1, 1, 3, 4, 5}));
    EXPECT_FALSE(log.contains("###QORA: GetDateTime[UserA, 0.05] ERROR"));
    EXPECT_FALSE(mixer->GetProtect(5));
    EXPECT_FALSE(log.contains("###QORA: GetProtect[UserA, 0.05] ERROR"));
    // An empty title is no data.
    EXPECT_FALSE(mixer->LibraryHasValidData(5));
    EXPECT_TRUE(harness.destroy(mixer));
    qunsetenv("QORA_SCRIPTED_SCENE_INFO");
}
