#pragma once

#include <QString>

class ConsoleMemory;
class SceneStore;

// Console files ("*.KX9F"): one JSON document holding the format tag, the
// format version, the current memory and the scene memories. Memories hold
// only the values that differ from the defaults. docs/console-files.md
// describes the layout.
class ConsoleFile {
public:
    static const char* const FormatTag; // "KX9F"
    static constexpr int Version = 1;
    // Larger files are refused before they are read.
    static constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

    // Writes atomically: a temporary file beside the target, renamed over it
    // only when complete.
    static bool save(const QString& path, const ConsoleMemory& current, const SceneStore& scenes,
                     QString* error);
    // Reads and checks the whole file first; the memory and the scenes are
    // replaced only when every part of it is valid.
    static bool load(const QString& path, ConsoleMemory* current, SceneStore* scenes,
                     QString* error);
};
