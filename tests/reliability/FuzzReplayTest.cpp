// Replays a fuzz target's seed corpus and its recorded regressions (inputs
// that once crashed it) through the target's own entry point, in the normal
// build: the target aborts on any property it checks, failing this test.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int replay(const QDir& dir, const QStringList& filters)
{
    int count = 0;
    for (const QString& name : dir.entryList(filters, QDir::Files, QDir::Name)) {
        QFile file(dir.absoluteFilePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        SCOPED_TRACE(name.toStdString());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        ++count;
    }
    return count;
}

TEST(FuzzReplay, SeedCorpus)
{
    const QDir corpus(QStringLiteral(QORA_FUZZ_ROOT "/corpus/" QORA_FUZZ_NAME));
    EXPECT_GT(replay(corpus, {QStringLiteral("*")}), 0);
}

TEST(FuzzReplay, RecordedRegressions)
{
    const QDir regressions(QStringLiteral(QORA_FUZZ_ROOT "/regressions"));
    const int count = replay(regressions, {QStringLiteral(QORA_FUZZ_NAME "_*")});
    RecordProperty("regressions", count);
}

TEST(FuzzReplay, EmptyAndTinyInputs)
{
    const std::uint8_t bytes[] = {0x00, 0x0a, 0x7b, 0x22, 0xff};
    for (std::size_t size = 0; size <= sizeof(bytes); ++size)
        LLVMFuzzerTestOneInput(bytes, size);
}

} // namespace
