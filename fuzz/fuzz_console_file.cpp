// Feeds the editor's console-file loader arbitrary file contents. A file it
// accepts must survive a save and a second load with the same contents.
#include "ConsoleFile.h"
#include "ConsoleMemory.h"
#include "SceneStore.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString scratch(const char* name)
{
    return QDir::tempPath() + QStringLiteral("/qora-fuzz-console-%1-%2.KX9F").arg(::getpid()).arg(name);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Loads `from` and saves it to `to`; false when the file is refused. A
// refusal names its reason, a failed save aborts.
bool loadAndSave(const QString& from, const QString& to)
{
    ConsoleMemory memory;
    SceneStore scenes;
    QString error;
    if (!ConsoleFile::load(from, &memory, &scenes, &error)) {
        if (error.isEmpty())
            std::abort();
        return false;
    }
    if (!ConsoleFile::save(to, memory, scenes, &error))
        std::abort();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Scratch files of this process, removed when the fuzzer exits.
    static const struct Scratch {
        QString input = scratch("in"), first = scratch("first"), second = scratch("second");
        ~Scratch() { QFile::remove(input), QFile::remove(first), QFile::remove(second); }
    } files;
    QFile input(files.input);
    if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate) || input.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    input.close();
    if (loadAndSave(files.input, files.first) && (!loadAndSave(files.first, files.second) || readAll(files.first) != readAll(files.second)))
        std::abort();
    return 0;
}
