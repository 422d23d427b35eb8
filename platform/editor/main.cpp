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
#include <QSocketNotifier>

#include <cstdio>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_usr1Pipe[2] = {-1, -1};

extern "C" void onUsr1(int)
{
    const char byte = 1;
    (void)!::write(g_usr1Pipe[1], &byte, 1);
}

// --close-on-usr1: the signal only wakes the event loop, which closes.
void closeOnUsr1(EditorSession* session)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_usr1Pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_usr1Pipe[0], QSocketNotifier::Read, session);
    QObject::connect(notifier, &QSocketNotifier::activated, session, [session, notifier] {
        char byte;
        (void)!::read(g_usr1Pipe[0], &byte, 1);
        notifier->setEnabled(false);
        session->closeConnection();
    });
    struct sigaction action = {};
    action.sa_handler = &onUsr1;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);
}

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
    if (options.closeOnUsr1)
        closeOnUsr1(&session);
    if (!session.start(&error))
        return fail(error);
    return app.exec();
}
