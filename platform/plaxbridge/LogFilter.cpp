#include "LogFilter.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QString>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<bool> g_verbose{false};
std::atomic<long long> g_requests{0};
std::atomic<bool> g_editorGone{false};

QMutex& sinkMutex()
{
    static QMutex mutex;
    return mutex;
}

LogFilter::JournalSink& sinkSlot()
{
    static LogFilter::JournalSink sink;
    return sink;
}

} // namespace

void LogFilter::install(bool verbose)
{
    g_verbose = verbose;
    qInstallMessageHandler(&LogFilter::handle);
    // Without -v the plug-in's debug chatter is switched off at the source,
    // so it is not even formatted; the request category stays on for counting.
    QLoggingCategory::setFilterRules(
        verbose ? QStringLiteral("qora.link.request.debug=true\nqora.journal.info=true")
                : QStringLiteral("default.debug=false\nqora.link.request.debug=true\nqora.journal.info=true"));
}

void LogFilter::setJournalSink(JournalSink sink)
{
    QMutexLocker locker(&sinkMutex());
    sinkSlot() = std::move(sink);
}

long long LogFilter::editorCommands()
{
    return g_requests.load();
}

void LogFilter::resetEditorCommands()
{
    g_requests = 0;
}

bool LogFilter::editorGone()
{
    return g_editorGone.load();
}

void LogFilter::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool request = context.category && std::strcmp(context.category, RequestCategory) == 0;
    if (request)
        ++g_requests;
    if (context.category && std::strcmp(context.category, JournalCategory) == 0) {
        JournalSink sink;
        {
            QMutexLocker locker(&sinkMutex());
            sink = sinkSlot();
        }
        const QJsonObject event = QJsonDocument::fromJson(message.toUtf8()).object();
        if (event.value(QLatin1String("event")).toString() == QLatin1String("editorGone"))
            g_editorGone = true;
        else if (sink)
            sink(event);
        if (!g_verbose)
            return;
    }
    const bool chatter = type == QtDebugMsg || type == QtInfoMsg;
    if (chatter && !g_verbose)
        return;
    const QByteArray text = message.toLocal8Bit();
    if (request)
        std::fprintf(stderr, "[editor command] %s\n", text.constData());
    else
        std::fprintf(stderr, "%s\n", text.constData());
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}
