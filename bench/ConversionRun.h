#pragma once

#include <QString>
#include <QStringList>

// One `plaxbridge convert` as a child of the harness, with the editor it
// starts: the harness makes itself the subreaper of its descendants, so the
// detached editor becomes its child too and both peak memories are known.
class ConversionRun
{
public:
    struct Result {
        bool ok = false;
        QString error;
        double seconds = 0.0;
        long long editorCommands = 0;
        long long scenes = 0;
        long long valuesWritten = 0;
        long maxRssPlaxbridgeKiB = 0;
        long maxRssEditorKiB = 0;
        double cpuPlaxbridgeSeconds = 0.0;   // user + system
        double cpuEditorSeconds = 0.0;
    };

    // `environment`: "NAME=VALUE" entries added to the harness's own.
    static Result run(const QString& hostDir, const QString& source, const QString& output,
                      const QStringList& environment = QStringList());
};
