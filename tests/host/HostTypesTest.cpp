#include "host/MixerException.h"
#include "host/Parameter.h"
#include "host/ParameterNotFoundException.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>

namespace {

// Throws the way the plug-in does: a heap object, thrown as a pointer.
[[noreturn]] void throwNotFound()
{
    throw new ParameterNotFoundException("Parameter Id not found", "/No/Such/MMS", "QORA");
}

[[noreturn]] void throwMixer()
{
    throw new MixerException("GetMMSStrValue() MMS value type is not string.", "QORA", -1);
}

} // namespace

TEST(HostExceptions, PointersAreCaughtThroughEveryBase)
{
    try {
        throwNotFound();
    } catch (ConverterException* e) {
        EXPECT_STREQ(e->what(), "Parameter Id not found");
        auto* notFound = dynamic_cast<ParameterNotFoundException*>(e);
        ASSERT_NE(notFound, nullptr);
        EXPECT_EQ(notFound->parameterName(), "/No/Such/MMS");
        EXPECT_EQ(notFound->mixerId(), "QORA");
        delete e;
    }

    try {
        throwMixer();
    } catch (std::exception* e) {
        auto* mixer = dynamic_cast<MixerException*>(e);
        ASSERT_NE(mixer, nullptr);
        EXPECT_STREQ(mixer->what(), "GetMMSStrValue() MMS value type is not string.");
        EXPECT_EQ(mixer->source(), "QORA");
        EXPECT_EQ(mixer->code(), -1);
        delete e;
    }

    // A ParameterNotFoundException is not a MixerException.
    bool caughtAsBase = false;
    try {
        try {
            throwNotFound();
        } catch (MixerException* e) {
            delete e;
            FAIL() << "caught as the wrong class";
        }
    } catch (ConverterException* e) {
        caughtAsBase = true;
        delete e;
    }
    EXPECT_TRUE(caughtAsBase);
}

TEST(HostParameter, CarriesIdNameAndMixerAndClonesIndependently)
{
    auto* parameter = new Parameter(nullptr, 44, "/Mixing/InputChannel/Signal/Relation/MMS");
    EXPECT_EQ(parameter->GetId(), 44);
    EXPECT_EQ(parameter->GetName(), "/Mixing/InputChannel/Signal/Relation/MMS");
    EXPECT_EQ(parameter->GetMixer(), nullptr);
    EXPECT_EQ(parameter->GetMixerId(), "");

    IParameter* clone = parameter->Clone();
    parameter->Destroy();
    EXPECT_EQ(clone->GetId(), 44);
    EXPECT_EQ(clone->GetName(), "/Mixing/InputChannel/Signal/Relation/MMS");
    clone->Destroy();
}
