#include "FakeMmsStore.h"

#include "host/MixerException.h"
#include "params/ChannelNames.h"
#include "params/RackPlacement.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ChannelNames, NonTextNameThrowsMixerExceptionAndKeepsTheText)
{
    FakeMmsStore store;
    RackPlacement placement;
    ChannelNames names{store, placement};
    store.putInt("/Mixing/DCA:1/Label:0/Name:0/MMS", 3);
    QString text = "kept";
    try {
        names.GetMMSChName("/Mixing/DCA/Label:0/Name:0/MMS", 1, text);
        FAIL() << "no exception";
    } catch (MixerException* e) {
        std::unique_ptr<MixerException> owned(e);
        EXPECT_STREQ(e->what(), "GetMMSStrValue() MMS value type is not string.");
        EXPECT_EQ(e->source(), "QORA");
        EXPECT_EQ(e->code(), -1);
    }
    EXPECT_EQ(text, "kept");
    // An unreadable name is empty, not an error.
    names.GetMMSChName("/Mixing/DCA/Label:0/Name:0/MMS", 2, text);
    EXPECT_TRUE(text.isEmpty());
}
