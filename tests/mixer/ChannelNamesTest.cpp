#include "host/MixerException.h"
#include "params/ChannelNames.h"
#include "params/MmsStore.h"
#include "params/RackPlacement.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>

namespace {

// A console whose DCA 1 name holds a number and whose other values are unreadable.
class NumberStore : public MmsStore
{
public:
    void GetMMSValue(const QString& address, OVariant& value) const override
    {
        if (address == "/Mixing/DCA:1/Label:0/Name:0/MMS")
            value = OVariant(3);
    }
    bool SetMMSValue(const QString&, const OVariant&) const override { return false; }
};

} // namespace

TEST(ChannelNames, NonTextNameThrowsMixerExceptionAndKeepsTheText)
{
    NumberStore store;
    RackPlacement placement;
    ChannelNames names{store, placement};
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
