// Feeds the editor's console-file loader arbitrary file contents. A file it
// accepts must survive a save and a second load with the same contents.
#include "ConsoleFile.h"
#include "ConsoleMemory.h"
#include "SceneStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Scratch files of this process, removed when the fuzzer exits.
struct Scratch {
    QString input = path("in"), first = path("first"), second = path("second");
    static QString path(const char* name) { return QDir::tempPath() + QStringLiteral("/qora-fuzz-console-%1-%2.KX9F").arg(::getpid()).arg(name); }
    ~Scratch()
    {
        for (const QString& file : {input, first, second})
            QFile::remove(file);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Scratch scratch;
    const QString &input = scratch.input, &first = scratch.first, &second = scratch.second;
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    ConsoleMemory memory;
    SceneStore scenes;
    QString error;
    if (!ConsoleFile::load(input, &memory, &scenes, &error)) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    if (!ConsoleFile::save(first, memory, scenes, &error))
        std::abort();
    ConsoleMemory again;
    SceneStore againScenes;
    if (!ConsoleFile::load(first, &again, &againScenes, &error))
        std::abort();
    if (!ConsoleFile::save(second, again, againScenes, &error) || readAll(first) != readAll(second))
        std::abort();
    return 0;
}
