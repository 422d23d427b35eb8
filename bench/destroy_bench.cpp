// Measures how long the plug-in's Destroy takes once its editor has died:
// the editor is killed (SIGKILL) and reaped, then the mixer is destroyed.
//
//   qora_destroy_bench [--runs N]
//
// Prints one line per run and the largest time, in milliseconds.
#include "EditorWatch.h"
#include "HostDirectory.h"

#include "host/IMixer.h"
#include "mixer/QORA.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

#include <signal.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int at = arguments.indexOf(QStringLiteral("--runs"));
    const int runs = at > 0 && at + 1 < arguments.size() ? arguments.at(at + 1).toInt() : 20;
    const QString binDir = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../bin"));
    HostDirectory::writeIni(QCoreApplication::applicationDirPath(), QDir(binDir).filePath(QStringLiteral("qora-editor")),
                            QStringLiteral("batched"));
    EditorWatch::adoptOrphans();

    double worst = 0;
    for (int run = 0; run < runs; ++run) {
        IMixer* mixer = QORA::create();
        EditorWatch watch;
        if (!mixer || !watch.start()) {
            std::fprintf(stderr, "run %d: no mixer or no editor\n", run + 1);
            return 1;
        }
        ::kill(watch.pid(), SIGKILL);
        watch.waitForExit(10000);
        QElapsedTimer timer;
        timer.start();
        mixer->Destroy();
        const double ms = timer.nsecsElapsed() / 1e6;
        worst = std::max(worst, ms);
        std::printf("run %2d: Destroy after the editor's death %.1f ms (%s)\n", run + 1, ms,
                    qPrintable(watch.cause()));
    }
    std::printf("largest: %.1f ms over %d runs\n", worst, runs);
    return 0;
}
