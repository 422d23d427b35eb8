#include "ShellSession.h"

#include "Rq10Mixer.h"
#include "Rq10Setup.h"
#include "host/ConverterException.h"
#include "host/IConversionDescription.h"
#include "host/IFileDescription.h"
#include "host/Parameter.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

int g_aliveExceptions = 0;
int g_aliveParameters = 0;

class CountedException : public ConverterException
{
public:
    explicit CountedException(std::string message) : ConverterException(std::move(message))
    {
        ++g_aliveExceptions;
    }
    ~CountedException() override { --g_aliveExceptions; }
};

class CountedParameter : public Parameter
{
public:
    CountedParameter(IMixer* mixer, int id, const std::string& name) : Parameter(mixer, id, name)
    {
        ++g_aliveParameters;
    }
    ~CountedParameter() override { --g_aliveParameters; }
};

// The source console with a few slots observed or made to fail.
class ProbeMixer : public Rq10Mixer
{
public:
    using Rq10Mixer::Rq10Mixer;

    IParameter* CreateParameter(const std::string& name) override
    {
        IParameter* made = Rq10Mixer::CreateParameter(name);   // throws for unknown names
        const int id = made->GetId();
        made->Destroy();
        return new CountedParameter(this, id, name);
    }
    int GetValue(IParameter* parameter, int channel, int subIndex) override
    {
        ++valueReads;
        return Rq10Mixer::GetValue(parameter, channel, subIndex);
    }
    bool SceneLibraryHasData(int scene) override
    {
        if (scene == 13)
            throw new CountedException("scene 13 is cursed");
        if (scene == 14)
            throw std::invalid_argument("stoi");
        if (scene == 15)
            throw new std::exception();
        if (scene == 16)
            throw 16;
        return Rq10Mixer::SceneLibraryHasData(scene);
    }
    void ResetMixerMemory(IConversionDescription* description) override
    {
        resetFileType = description ? description->GetSource()->GetFileType() : "<null>";
    }
    int LibraryIndexToCategoryId(int index, IConversionDescription* description) override
    {
        withDescription = true;
        return index * 1000 + description->GetOption(QStringLiteral("A")) * 10
               + description->GetOption(QStringLiteral("Not offered"));
    }
    int LibraryIndexToCategoryId(int index) override
    {
        withDescription = false;
        return index;
    }

    int valueReads = 0;
    std::string resetFileType = "<not called>";
    bool withDescription = false;
};

struct Release {
    void operator()(IMixer* mixer) const { mixer->Destroy(); }
};

const char kSetup[] = R"({
  "format": "rq10-setup", "version": 1, "model": "RQ10",
  "values": {"/Mixing/Mix/Fader/Level/MMS": {"3": -250}},
  "scenes": [
    {"number": 100, "title": "Line \"check\"", "comment": "", "protect": true,
     "time": "2024-06-14T15:10:05"},
    {"number": 250, "title": "Encore"}
  ],
  "names": {"/Mixing/Stereo/Label:0/Name:0/MMS": ["Main", "Cue"]}
})";

class ShellSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Rq10Setup setup;
        QString error;
        ASSERT_TRUE(Rq10Setup::parse(QByteArray(kSetup), setup, error)) << error.toStdString();
        mixer.reset(new ProbeMixer(std::move(setup)));
        session = std::make_unique<ShellSession>(mixer.get());
    }

    std::string run(std::vector<std::string> call) { return session->execute(call); }

    std::unique_ptr<ProbeMixer, Release> mixer;
    std::unique_ptr<ShellSession> session;
};

} // namespace

// Result formats are covered end to end; here the calls whose effect the
// program's output cannot show.
TEST_F(ShellSessionTest, ResetMixerMemoryDescribesTheGivenSourceFileType)
{
    EXPECT_EQ(run({"ResetMixerMemory", "KX9F"}), "OK");
    EXPECT_EQ(mixer->resetFileType, "KX9F");
    EXPECT_EQ(run({"ResetMixerMemory"}), "OK");
    EXPECT_EQ(mixer->resetFileType, "");
}

TEST_F(ShellSessionTest, CategoryIdWithOptionsUsesADescriptionSelectingThem)
{
    EXPECT_EQ(run({"LibraryIndexToCategoryId", "6"}), "= 6");
    EXPECT_FALSE(mixer->withDescription);
    // Selected "A" gives 1, the option never named is not offered (-1).
    EXPECT_EQ(run({"LibraryIndexToCategoryId", "6", "A", "B C"}), "= 6009");
    EXPECT_TRUE(mixer->withDescription);
}

TEST_F(ShellSessionTest, ExceptionsAreReportedByClassAndPointersDeleted)
{
    EXPECT_EQ(run({"CreateParameter", "/Mixing/Mix/Nope"}),
              "! ParameterNotFoundException: Parameter Id not found");
    EXPECT_EQ(run({"LookupParameterRanges", "/FX/FX/Bypass:0/MMS"}),
              "! ParameterNotFoundException: Parameter Id not found");
    EXPECT_EQ(run({"SceneLibraryHasData", "13"}), "! (anonymous namespace)::CountedException: scene 13 is cursed");
    EXPECT_EQ(g_aliveExceptions, 0);
    EXPECT_EQ(run({"SceneLibraryHasData", "14"}), "! std::invalid_argument: stoi");
    EXPECT_EQ(run({"SceneLibraryHasData", "15"}), "! std::exception: std::exception");
    EXPECT_EQ(run({"SceneLibraryHasData", "16"}).rfind("! unknown: ", 0), 0u);
    // The session goes on after a failure.
    EXPECT_EQ(run({"SceneLibraryHasData", "100"}), "= true");
}

TEST_F(ShellSessionTest, ParametersMadeForACallAreReleased)
{
    EXPECT_EQ(run({"CreateParameter", "/Mixing/Mix/Fader/Level/MMS"}), "= 3");
    EXPECT_EQ(run({"GetValue", "/Mixing/Mix/Fader/Level/MMS", "0", "0"}), "= 0");
    EXPECT_EQ(run({"SetValue", "/Mixing/Mix/Fader/Level/MMS", "0", "1", "0"}), "OK");
    EXPECT_EQ(run({"IsStereoParameter", "/Mixing/Stereo/Fader/Level/MMS"}), "= false");
    EXPECT_EQ(g_aliveParameters, 0);
}

TEST_F(ShellSessionTest, CallsTheShellCannotRunNeverReachTheMixer)
{
    EXPECT_EQ(run({"Frobnicate", "1"}), "? unknown operation: Frobnicate");
    EXPECT_EQ(run({"getvalue", "/x", "1", "0"}), "? unknown operation: getvalue");
    EXPECT_EQ(run({"GetValue", "/Mixing/Mix/Fader/Level/MMS", "3"}),
              "? GetValue takes 3 arguments (NAME CH SUB), got 2");
    EXPECT_EQ(run({"GetMixerId", "extra"}), "? GetMixerId takes 0 arguments, got 1");
    EXPECT_EQ(run({"SetCurrentSceneMemory", "1", "2"}),
              "? SetCurrentSceneMemory takes 0 to 1 arguments ([SCENE]), got 2");
    EXPECT_EQ(run({"SetNameParameterList"}),
              "? SetNameParameterList takes at least 1 argument (HEAD [TEXT...]), got 0");
    EXPECT_EQ(run({"GetValue", "/Mixing/Mix/Fader/Level/MMS", "x", "0"}),
              "? GetValue: argument 2 (CH) is not an integer: \"x\"");
    EXPECT_EQ(run({"GetValue", "/Mixing/Mix/Fader/Level/MMS", "1", "2147483648"}),
              "? GetValue: argument 3 (SUB) is not an integer: \"2147483648\"");
    EXPECT_EQ(run({"GetValue", "/Mixing/Mix/Fader/Level/MMS", "", "0"}),
              "? GetValue: argument 2 (CH) is not an integer: \"\"");
    EXPECT_EQ(run({"SetValue", "/Mixing/Mix/Fader/Level/MMS", "1", "0x10", "0"}),
              "? SetValue: argument 3 (VALUE) is not an integer: \"0x10\"");
    EXPECT_EQ(run({"SetProtect", "yes", "100"}),
              "? SetProtect: argument 1 (PROTECT) must be true or false: \"yes\"");
    EXPECT_EQ(run({"SetDateTime", "24", "0", "0", "0", "0", "40000", "100"}),
              "? SetDateTime: argument 6 (s) is outside the 16-bit range");
    EXPECT_EQ(mixer->valueReads, 0);
    EXPECT_EQ(g_aliveParameters, 0);
    EXPECT_EQ(run({}), "? empty call");
}
