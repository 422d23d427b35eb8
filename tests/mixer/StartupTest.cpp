// The mixer against an editor program that never connects: start-up and
// shut-down run on the injected short waits, every console operation
// answers its fall-back, and the slots that need no console still work.
#include "EditorHarness.h"
#include "MapMixer.h"

#include "host/ConverterException.h"
#include "host/IDataDecoder.h"
#include "host/IDataEncoder.h"
#include "host/Parameter.h"
#include "host/ParameterNotFoundException.h"
#include "mixer/QORA.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// Timings the tests inject: a silent editor costs create ~0.1 s + 0.1 s of
// polling and one window command of longLimit.
const char Timings[] = "createPolls=5,createSleepMs=20,readyPolls=2,readySleepMs=50,destroyPolls=5,"
                       "destroySleepMs=20,shortLimit=300,longLimit=1000";
constexpr qint64 WaitBudgetMs = 5 * 20 + 2 * 50 + 1000;

// An editor that exits at once.
QString silentEditor()
{
    QFile script(EditorHarness::workDir() + QStringLiteral("/silent-editor.sh"));
    script.open(QIODevice::WriteOnly | QIODevice::Truncate);
    script.write("#!/bin/sh\nexit 0\n");
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script.fileName();
}

// Gives the tests the protected destructor of a copy.
struct MixerCopy : QORA {
    explicit MixerCopy(QORA& other) : QORA(other) {}
    using QORA::operator=;
};

} // namespace

class SilentEditor : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        qputenv("QORA_LINK_TIMINGS", Timings);
        harness = new EditorHarness(silentEditor());
        QElapsedTimer timer;
        timer.start();
        mixer = harness->create();
        createMs = timer.elapsed();
    }

    static void TearDownTestSuite()
    {
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(harness->destroy(mixer));
        // Minimised-window command (longLimit) plus a short poll.
        EXPECT_LT(timer.elapsed(), 1000 + 5 * 20 + 1000);
        delete harness;
        QFile::remove(EditorHarness::workDir() + QStringLiteral("/silent-editor.sh"));
        qunsetenv("QORA_LINK_TIMINGS");
    }

    static EditorHarness* harness;
    static IMixer* mixer;
    static qint64 createMs;
};

EditorHarness* SilentEditor::harness = nullptr;
IMixer* SilentEditor::mixer = nullptr;
qint64 SilentEditor::createMs = 0;

TEST_F(SilentEditor, CreateGivesAMixerAfterTheBoundedWaits)
{
    ASSERT_NE(mixer, nullptr);
    EXPECT_GE(createMs, WaitBudgetMs - 100);
    EXPECT_LT(createMs, WaitBudgetMs + 1000);
    EXPECT_EQ(mixer->GetMixerId(), "QORA");
    // The host waits on these hooks; nothing is ever left to wait for.
    auto* q = static_cast<QORA*>(mixer);
    q->prepareWaitForProcessingFinished(QORA::WaitProcessing::Load);
    q->setIsProcessingFinished(false, QORA::WaitProcessing::Load);
    q->waitForProcessingFinished(QORA::WaitProcessing::Load);
    EXPECT_TRUE(q->getIsProcessingFinished(QORA::WaitProcessing::Load));
}

TEST_F(SilentEditor, ConsoleOperationsAnswerTheirFallBacks)
{
    LogCapture log;
    Parameter level(mixer, 55, "/Mixing/InputChannel/Fader/Level/MMS");
    EXPECT_EQ(mixer->GetValue(&level, 3, 0), 0);
    EXPECT_TRUE(log.contains("###QORA: GetMMSValue[/Mixing/InputChannel:3/Fader/Level/MMS] ERROR"));
    EXPECT_EQ(mixer->GetValue(nullptr, 3, 0), 0);
    mixer->SetValue(nullptr, 3, 1, 0);
    // A single write (no block prefix) is refused by the time-out.
    Parameter mono(mixer, 0, "/Mixing/MixingMode/Mode/MMS");
    mixer->SetValue(&mono, 0, 1, 0);
    EXPECT_TRUE(log.contains("###QORA: SetMMSValue[/Mixing/MixingMode:0/Mode/MMS] ERROR"));

    EXPECT_EQ(mixer->GetTitle(123), "");
    EXPECT_FALSE(mixer->GetProtect(5));
    EXPECT_EQ(fieldsOf(mixer->GetDateTime(5)), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(mixer->LibraryHasValidData(5));
    for (const char* line : {"GetTitle[UserA, 1.23] ERROR", "GetProtect[UserA, 0.05] ERROR", "GetDateTime[UserA, 0.05] ERROR"})
        EXPECT_TRUE(log.contains(QStringLiteral("###QORA: ") + line)) << line;
}

TEST_F(SilentEditor, CatalogueSlots)
{
    IParameter* p = mixer->CreateParameter("/Mixing/InputChannel/Signal/Relation/MMS");
    IParameter* clone = p->Clone();
    p->Destroy();
    EXPECT_EQ(clone->GetId(), 44);
    EXPECT_EQ(clone->GetName(), "/Mixing/InputChannel/Signal/Relation/MMS");
    EXPECT_EQ(clone->GetMixer(), mixer);
    EXPECT_EQ(clone->GetMixerId(), "QORA");
    EXPECT_FALSE(mixer->IsStereoParameter(clone) || mixer->IsOutputParameter(clone) || mixer->IsStereoParameter(nullptr));
    clone->Destroy();
    Parameter icon(mixer, 172, "/Mixing/Stereo/Label/Icon/MMS");
    EXPECT_TRUE(mixer->IsStereoParameter(&icon));

    for (const char* missing : {"/mixing/InputChannel/Signal/Relation/MMS", "/Mixing/InputChannel/Signal/Relation", ""}) {
        try {
            mixer->CreateParameter(missing);
            ADD_FAILURE() << missing;
        } catch (ConverterException* e) {
            std::unique_ptr<ConverterException> owned(e);
            auto* notFound = dynamic_cast<ParameterNotFoundException*>(e);
            ASSERT_NE(notFound, nullptr);
            EXPECT_STREQ(e->what(), "Parameter Id not found");
            EXPECT_EQ(notFound->parameterName() + "|" + notFound->mixerId(), missing + std::string("|QORA"));
        }
    }
    std::array<int, 4> r{-5, -5, -5, -5};
    mixer->LookupParameterRanges("/Mixing/InputChannel/ToMix:47/Level/MMS", r[0], r[1], r[2], r[3]);
    EXPECT_EQ(r, (std::array<int, 4>{0, 119, 74, 74}));
    // An unknown name throws a plain std::exception pointer and fills nothing.
    r = {-5, -5, -5, -5};
    try {
        mixer->LookupParameterRanges("/Mixing/Nothing/MMS", r[0], r[1], r[2], r[3]);
        ADD_FAILURE() << "no exception";
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        EXPECT_EQ(dynamic_cast<ConverterException*>(e), nullptr);
    }
    EXPECT_EQ(r, (std::array<int, 4>{-5, -5, -5, -5}));
}

TEST_F(SilentEditor, CachedDataRecordsOwnTheirCopies)
{
    const size_t before = mixer->GetCachedCurrentData().size();
    char first[] = "abc";
    mixer->CacheCurrentData(9, first, 3);
    first[0] = 'X';
    const std::vector<LibData>& records = mixer->GetCachedCurrentData();
    ASSERT_EQ(records.size(), before + 1);
    EXPECT_EQ(records[before].kind, 9);
    EXPECT_EQ(records[before].index, -1);
    ASSERT_EQ(records[before].size, 3u);
    EXPECT_EQ(std::memcmp(records[before].data, "abc", 3), 0);

    // Without a copy (no source, or no memory: address space capped) the
    // record is empty, never a size over a null buffer.
    LogCapture log;
    mixer->CacheCurrentData(4, nullptr, 16);
    EXPECT_TRUE(log.contains("###QORA: CacheCurrentData[4, 16] ERROR"));
#ifndef __SANITIZE_ADDRESS__
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    ASSERT_TRUE(statm.open(QIODevice::ReadOnly));
    const rlimit capped{statm.readAll().split(' ').value(0).toULongLong() * sysconf(_SC_PAGESIZE) + (256u << 20),
                        saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &capped), 0);
    mixer->CacheCurrentData(5, first, 0xFFFFFFF0u);
    setrlimit(RLIMIT_AS, &saved);
    EXPECT_TRUE(log.contains("###QORA: CacheCurrentData[5, 4294967280] ERROR"));
#endif
    for (std::size_t i = before + 1; i < records.size(); ++i)
        EXPECT_EQ(records[i].size, 0u) << "record of kind " << records[i].kind;
}

TEST_F(SilentEditor, FixedValueSlots)
{
    EXPECT_EQ((std::array<int, 4>{mixer->GetLibraryMax(22), mixer->GetLibraryMax(23), mixer->GetSceneLibraryMax(),
                                  mixer->GetNameParameterNum()}),
              (std::array<int, 4>{199, 100, 300, 9}));
    EXPECT_EQ(mixer->GetLibrariesToConvert().size(), 46u);
    EXPECT_EQ(mixer->LibraryIndexToCategoryId(22), 63);
    // Data slots answer "nothing" and leave the caller's buffer alone.
    unsigned int size = 5;
    char buffer[4] = {1, 2, 3, 4};
    EXPECT_FALSE(mixer->GetCollectionData(0, buffer, &size) || mixer->GetLibraryData(1, 2, buffer, &size) ||
                 mixer->GetCurrentData(1, 2, buffer, &size) || mixer->SetCurrentData(buffer, 4));
    EXPECT_TRUE(size == 5 && buffer[0] == 1);
    // Nor do the coders carry any data.
    IDataEncoder* encoder = mixer->CreateEncoder();
    IDataDecoder* decoder = mixer->CreateDecoder();
    ASSERT_TRUE(encoder && decoder);
    encoder->Begin();
    decoder->Begin("abc", 3);
    EXPECT_EQ(encoder->EncodeHeader(nullptr, 10, &size) + encoder->EncodeLibrary(6, 0, nullptr, &size) +
                  encoder->EncodeEntry(6, 0, nullptr, &size) + encoder->End(&size) + decoder->Decode(5, nullptr, &size),
              0);
    EXPECT_EQ(size, 5u);
    encoder->Release();
    decoder->Release();
}

TEST_F(SilentEditor, ConversionSlotsWithoutAndWithFactory)
{
    EXPECT_EQ(mixer->GetParameterConverterFactory(), nullptr);
    EXPECT_EQ(mixer->GetConverter("/Mixing/InputChannel/Fader/Level/MMS", nullptr, nullptr, false), nullptr);
    Parameter level(mixer, 55, "/Mixing/InputChannel/Fader/Level/MMS");
    EXPECT_EQ(mixer->CreateIterator(&level, nullptr), nullptr);

    MapMixer source("RQ10");
    mixer->initParameterConverterFactory(&source);
    IParameterConverterFactory* factory = mixer->GetParameterConverterFactory();
    ASSERT_NE(factory, nullptr);

    // A copy takes the factory over; assignment hands it back.
    auto* original = static_cast<QORA*>(mixer);
    {
        MixerCopy copy(*original);
        EXPECT_EQ(copy.GetParameterConverterFactory(), factory);
        EXPECT_EQ(original->GetParameterConverterFactory(), nullptr);
        *original = copy;
        EXPECT_EQ(original->GetParameterConverterFactory(), factory);
        EXPECT_EQ(copy.GetParameterConverterFactory(), nullptr);
    }
    EXPECT_EQ(mixer->GetParameterConverterFactory(), factory);
}
