// Replays a fuzz target's seed corpus and its recorded regressions (inputs
// that once crashed it) through the target's own entry point, in the normal
// build: the target aborts on any property it checks, failing this test.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int replay(const QDir& dir, const QString& filter)
{
    const QStringList names = dir.entryList({filter}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(dir.absoluteFilePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        SCOPED_TRACE(name.toStdString());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
    return names.size();
}

// Besides the files: the empty input and the first bytes of a line.
TEST(FuzzReplay, SeedCorpusRecordedRegressionsAndTinyInputs)
{
    EXPECT_GT(replay(QDir(QORA_FUZZ_ROOT "/corpus/" QORA_FUZZ_NAME), "*"), 0);
    RecordProperty("regressions", replay(QDir(QORA_FUZZ_ROOT "/regressions"), QORA_FUZZ_NAME "_*"));
    const std::uint8_t bytes[] = {0x00, 0x0a, 0x7b, 0x22, 0xff};
    for (std::size_t size = 0; size <= sizeof(bytes); ++size)
        LLVMFuzzerTestOneInput(bytes, size);
}

} // namespace
