// qora-editor: stand-in for the KX9 console editor program. See --help.
#include "CommandProcessor.h"
#include "ConsoleFile.h"
#include "ConsoleMemory.h"
#include "EditorOptions.h"
#include "EditorSession.h"
#include "SceneStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "qora-editor: %s\nTry 'qora-editor --help'.\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // The editor only serves one socket: Qt's plain Unix event dispatcher
    // wakes up faster than the GLib one, and every request is a wake-up.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);

    EditorOptions options;
    QString error;
    if (!options.parse(app.arguments().mid(1) + EditorOptions::environmentArguments(), &error))
        return fail(error);
    if (options.help) {
        std::fputs(qPrintable(EditorOptions::usage()), stdout);
        return 0;
    }
    if (!options.writeDefault.isEmpty()) {
        QDir().mkpath(QFileInfo(options.writeDefault).absolutePath());
        if (!ConsoleFile::save(options.writeDefault, ConsoleMemory(), SceneStore(), &error))
            return fail(error);
        return 0;
    }
    if (!options.checkSession(&error))
        return fail(error);

    CommandProcessor processor(options.work);
    for (const auto& forced : options.forcedTypes)
        processor.addForcedType(forced.first, forced.second);
    if (!options.initialFile.isEmpty()
        && !ConsoleFile::load(processor.resolvePath(options.initialFile), &processor.memory(),
                              &processor.scenes(), &error))
        return fail(error);

    EditorSession session(options, &processor);
    QObject::connect(&session, &EditorSession::finished, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    if (!session.start(&error))
        return fail(error);
    return app.exec();
}
