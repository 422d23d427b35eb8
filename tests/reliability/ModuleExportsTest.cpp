// The plug-in module must export the QORA class and nothing else of ours:
// read its dynamic symbol table as the host's loader sees it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

TEST(ModuleExports, OnlyTheQoraClassIsExported)
{
    const QString library = qEnvironmentVariable("QORA_BIN_DIR") + "/libqora.so";
    QProcess nm;
    nm.start("nm", {"-D", "-C", "--defined-only", "--format=posix", library});
    ASSERT_TRUE(nm.waitForFinished(30000) && nm.exitCode() == 0) << library.toStdString();
    // posix format: "<name> <type> <value> [<size>]"; a demangled name may hold blanks.
    static const QRegularExpression line("^(.*) [A-Za-z] [0-9a-f]+( [0-9a-f]+)?$");
    QStringList symbols, unexpected;
    for (const QString& text : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
        symbols << line.match(text).captured(1);
    symbols.removeAll(QString());
    // Besides what the static linker always defines in a shared object.
    const QStringList allowed{"__bss_start", "_edata", "_end", "_init", "_fini",
                              "vtable for QORA", "typeinfo for QORA", "typeinfo name for QORA"};
    for (const QString& symbol : symbols) {
        if (!allowed.contains(symbol) && !symbol.startsWith("QORA::"))
            unexpected << symbol;
    }
    EXPECT_TRUE(unexpected.isEmpty()) << unexpected.join('\n').toStdString();
    // The host's entry points are there.
    for (const char* entry : {"QORA::create()", "QORA::MixerIdentifier[abi:cxx11]", "QORA::Destroy()", "vtable for QORA"})
        EXPECT_TRUE(symbols.contains(entry)) << entry;
}
