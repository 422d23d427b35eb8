// The plug-in module must export the QORA class and nothing else of ours:
// read its dynamic symbol table as the host's loader sees it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace {

QStringList definedDynamicSymbols(const QString& library)
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("-C"), QStringLiteral("--defined-only"),
                                   QStringLiteral("--format=posix"), library});
    if (!nm.waitForFinished(30000) || nm.exitCode() != 0)
        return {};
    // posix format: "<name> <type> <value> [<size>]"; a demangled name may hold blanks.
    static const QRegularExpression line(QStringLiteral("^(.*) [A-Za-z] [0-9a-f]+( [0-9a-f]+)?$"));
    QStringList names;
    for (const QString& text : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch())
            names << match.captured(1);
    }
    return names;
}

} // namespace

TEST(ModuleExports, OnlyTheQoraClassIsExported)
{
    const QString library = qEnvironmentVariable("QORA_BIN_DIR") + QStringLiteral("/libqora.so");
    const QStringList symbols = definedDynamicSymbols(library);
    ASSERT_FALSE(symbols.isEmpty()) << "could not read the symbols of " << library.toStdString();

    // What the static linker always defines in a shared object.
    const QStringList linkerMarkers = {QStringLiteral("__bss_start"), QStringLiteral("_edata"),
                                       QStringLiteral("_end"), QStringLiteral("_init"), QStringLiteral("_fini")};
    QStringList unexpected;
    for (const QString& symbol : symbols) {
        if (linkerMarkers.contains(symbol))
            continue;
        const bool member = symbol.startsWith(QLatin1String("QORA::"));
        const bool classData = symbol == QLatin1String("vtable for QORA") || symbol == QLatin1String("typeinfo for QORA")
            || symbol == QLatin1String("typeinfo name for QORA");
        if (!member && !classData)
            unexpected << symbol;
    }
    EXPECT_TRUE(unexpected.isEmpty()) << unexpected.join('\n').toStdString();

    // The host's entry points are there.
    EXPECT_TRUE(symbols.contains(QStringLiteral("QORA::create()")));
    EXPECT_TRUE(symbols.contains(QStringLiteral("QORA::MixerIdentifier[abi:cxx11]")));
    EXPECT_TRUE(symbols.contains(QStringLiteral("QORA::Destroy()")));
    EXPECT_TRUE(symbols.contains(QStringLiteral("vtable for QORA")));
}
