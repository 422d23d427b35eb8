#include "HostDirectory.h"

#include <QDir>
#include <QFile>

bool HostDirectory::writeIni(const QString& dir, const QString& editor, const QString& wireMode)
{
    QFile ini(QDir(dir).filePath(QStringLiteral("KX9.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString text = QStringLiteral("[MainApplication]\nVirtualDeviceFilePath=%1\nWireMode=%2\n").arg(editor, wireMode);
    return ini.write(text.toUtf8()) > 0;
}

bool HostDirectory::makeCopy(const QString& binDir, const QString& dir, const QString& wireMode)
{
    const QDir bin(binDir);
    if (!QDir().mkpath(QDir(dir).filePath(QStringLiteral("KX9/Descriptor"))))
        return false;
    for (const char* file : {"plaxbridge", "libqora.so", "libUtilities.so", "KX9/Descriptor/parameters.txt",
                             "KX9/Descriptor/initialLoadData.KX9F"}) {
        const QString target = QDir(dir).filePath(QString::fromLatin1(file));
        QFile::remove(target);
        if (!QFile::copy(bin.filePath(QString::fromLatin1(file)), target))
            return false;
    }
    return writeIni(dir, bin.filePath(QStringLiteral("qora-editor")), wireMode);
}
