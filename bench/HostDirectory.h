#pragma once

#include <QString>

// A directory laid out as the host's: the plug-in reads KX9.ini beside the
// program that loaded it, so a wire mode is a directory of its own.
class HostDirectory
{
public:
    // Writes `dir`/KX9.ini naming `editor`, with WireMode=`wireMode`.
    static bool writeIni(const QString& dir, const QString& editor, const QString& wireMode);
    // Copies plaxbridge, the plug-in, the converter library and KX9/ from
    // `binDir` into `dir` and writes its KX9.ini.
    static bool makeCopy(const QString& binDir, const QString& dir, const QString& wireMode);
};
