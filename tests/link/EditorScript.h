#pragma once

// A tiny program standing in for the editor's executable: it records its
// working directory and arguments in args.txt next to itself and exits.
#include <QDir>
#include <QFile>
#include <QStringList>

inline QString writeEditorScript(const QString& dir)
{
    QFile file(QDir(dir).absoluteFilePath("editor.sh"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write("#!/bin/sh\nout=\"$(dirname \"$0\")/args.txt\"\npwd > \"$out.tmp\"\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\nmv \"$out.tmp\" \"$out\"\n");
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return file.fileName();
}

// Lines of args.txt (working directory first), empty while it does not exist.
inline QStringList readEditorArgs(const QString& dir)
{
    QFile file(QDir(dir).absoluteFilePath("args.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts) : QStringList();
}
