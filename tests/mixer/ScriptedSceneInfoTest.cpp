// Scene information the real editor never holds, from a scripted editor.
#include "EditorHarness.h"

#include "host/IMixer.h"

TEST(ScriptedSceneInfo, OddTextsReadAsFallBacks)
{
    struct Case {
        const char* script; // per information type; types not named answer "ng"
        std::array<int, 6> time;
        bool timeError;
        bool protectError;
        bool hasData;
    };
    const Case cases[] = {
        // Protect texts are lower case; a stamp needs 14 digits.
        {"Protect=On;TimeStamp=2024010203040;Title=T", {0, 0, 0, 0, 0, 0}, true, true, true},
        // A field that is no number counts as 0; an empty title is no data.
        {"Protect=off;TimeStamp=2024xx0203040599;Title=", {24, -1, 1, 3, 4, 5}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        qputenv("QORA_SCRIPTED_SCENE_INFO", c.script);
        EditorHarness harness(QStringLiteral(QORA_SCRIPTED_EDITOR));
        IMixer* mixer = harness.create();
        ASSERT_NE(mixer, nullptr);
        LogCapture log;
        EXPECT_FALSE(mixer->GetProtect(5));
        EXPECT_EQ(fieldsOf(mixer->GetDateTime(5)), c.time);
        EXPECT_EQ(log.contains("###QORA: GetDateTime[UserA, 0.05] ERROR"), c.timeError);
        EXPECT_EQ(log.contains("###QORA: GetProtect[UserA, 0.05] ERROR"), c.protectError);
        EXPECT_EQ(mixer->LibraryHasValidData(5), c.hasData);
        EXPECT_EQ(mixer->GetComment(5), "");
        EXPECT_TRUE(harness.destroy(mixer));
    }
    qunsetenv("QORA_SCRIPTED_SCENE_INFO");
}
