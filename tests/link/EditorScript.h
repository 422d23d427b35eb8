#pragma once

// A tiny program standing in for the editor's executable: it records its
// working directory and arguments in args.txt next to itself and exits.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTextStream>

inline QString writeEditorScript(const QString& dir, const QString& name = QStringLiteral("editor.sh"))
{
    const QString path = QDir(dir).absoluteFilePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    QTextStream(&file) << "#!/bin/sh\n"
                          "out=\"$(dirname \"$0\")/args.txt\"\n"
                          "pwd > \"$out.tmp\"\n"
                          "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\n"
                          "mv \"$out.tmp\" \"$out\"\n";
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

// Lines of args.txt (working directory first), empty while it does not exist.
inline QStringList readEditorArgs(const QString& dir)
{
    QFile file(QDir(dir).absoluteFilePath(QStringLiteral("args.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
