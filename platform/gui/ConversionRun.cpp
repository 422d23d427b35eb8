#include "ConversionRun.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// How long a cancelled child may take to release the plug-in: one plug-in
// call against a silent editor waits for the plug-in's 3 s time-out, and
// shutting the editor down waits up to 10 s more.
constexpr int KillAfterMs = 20000;

QString sentence(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// "plaxbridge convert: bad SOURCE: x" -> "bad SOURCE: x"; empty for warnings
// and for lines that are not the program's own.
QString failureText(const QString& line)
{
    if (!line.startsWith(QLatin1String("plaxbridge")))
        return QString();
    const int colon = line.indexOf(QLatin1String(": "));
    const QString text = colon < 0 ? QString() : line.mid(colon + 2);
    const bool warning = text.startsWith(QLatin1String("warning:"))
                         || text.startsWith(QLatin1String("further warnings"));
    return warning ? QString() : text;
}

} // namespace

ConversionRun::ConversionRun(QString program, QObject* parent)
    : QObject(parent)
    , m_program(std::move(program))
{
    m_killTimer.setSingleShot(true);
    connect(&m_killTimer, &QTimer::timeout, &m_process, &QProcess::kill);
    connect(&m_process, &QProcess::readyReadStandardError, this, &ConversionRun::readErrors);
    connect(&m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &ConversionRun::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &ConversionRun::onError);
}

ConversionRun::~ConversionRun()
{
    // A window closed mid-conversion still lets the child release the editor.
    if (m_running) {
        m_process.disconnect(this);
        m_process.terminate();
        if (!m_process.waitForFinished(KillAfterMs))
            m_process.kill();
        m_process.waitForFinished(1000);
    }
}

QStringList ConversionRun::arguments(const QString& source, const QString& output,
                                     const QString& reportFolder)
{
    const QDir reports(reportFolder);
    return {QStringLiteral("convert"),
            QStringLiteral("--progress=json"),
            QStringLiteral("--report"),
            reports.filePath(QStringLiteral("report.html")),
            QStringLiteral("--report"),
            reports.filePath(QStringLiteral("report.json")),
            source,
            output};
}

void ConversionRun::start(const QString& source, const QString& output)
{
    if (m_running)
        return;
    m_outcome = Outcome();
    m_outcome.source = source;
    m_outcome.output = output;
    m_pending.clear();
    m_sceneCount = 1;
    m_reportFolder = std::make_unique<QTemporaryDir>();
    m_running = true;
    m_process.setProgram(m_program);
    m_process.setArguments(arguments(source, output, m_reportFolder->path()));
    m_process.setStandardInputFile(QProcess::nullDevice());
    emit statusChanged(tr("Starting plaxbridge…"));
    emit progressChanged(0.0, 0.0);
    m_process.start();
}

void ConversionRun::cancel()
{
    if (!m_running || m_outcome.cancelled)
        return;
    m_outcome.cancelled = true;
    emit statusChanged(tr("Cancelling: the editor is being stopped…"));
    m_process.terminate();   // SIGTERM: plaxbridge stops as after Ctrl-C
    m_killTimer.start(KillAfterMs);
}

bool ConversionRun::isRunning() const
{
    return m_running;
}

void ConversionRun::readErrors()
{
    m_pending += m_process.readAllStandardError();
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        handleLine(line);
    }
}

void ConversionRun::handleLine(const QByteArray& line)
{
    if (line.startsWith('{')) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (document.isObject()) {
            handleEvent(document.object());
            return;
        }
    }
    const QString text = QString::fromLocal8Bit(line).trimmed();
    if (!text.isEmpty())
        m_outcome.messages.append(text);
}

void ConversionRun::handleEvent(const QJsonObject& event)
{
    const QString name = event.value(QStringLiteral("event")).toString();
    const int index = event.value(QStringLiteral("index")).toInt();
    if (name == QLatin1String("phase")) {
        emit statusChanged(sentence(event.value(QStringLiteral("text")).toString()) + QStringLiteral("…"));
    } else if (name == QLatin1String("sceneBegin")) {
        m_sceneCount = std::max(event.value(QStringLiteral("count")).toInt(), 1);
        const double number = event.value(QStringLiteral("number")).toInt() / 100.0;
        emit statusChanged(tr("Scene %1 of %2 (%3): %4")
                               .arg(index + 1)
                               .arg(m_sceneCount)
                               .arg(number, 0, 'f', 2)
                               .arg(event.value(QStringLiteral("title")).toString()));
        emit progressChanged(static_cast<double>(index) / m_sceneCount, 0.0);
    } else if (name == QLatin1String("progress")) {
        const double scene = event.value(QStringLiteral("done")).toDouble()
                             / std::max(event.value(QStringLiteral("parameters")).toDouble(), 1.0);
        emit progressChanged((index + scene) / m_sceneCount, scene);
    } else if (name == QLatin1String("sceneEnd")) {
        emit progressChanged(static_cast<double>(index + 1) / m_sceneCount, 1.0);
    } else if (name == QLatin1String("warning") || name == QLatin1String("error")) {
        // As the other progress modes print them, for the headline and the log.
        m_outcome.messages.append(QStringLiteral("plaxbridge convert: %1%2")
                                      .arg(name == QLatin1String("warning") ? QStringLiteral("warning: ") : QString(),
                                           event.value(QStringLiteral("message")).toString()));
    } else if (name == QLatin1String("end")) {
        m_outcome.summary = event.value(QStringLiteral("summary")).toObject();
    }
}

void ConversionRun::onFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    m_outcome.status = exitStatus == QProcess::NormalExit ? exitCode : -1;
    conclude();
}

void ConversionRun::onError(QProcess::ProcessError error)
{
    // Other errors end in finished() as well.
    if (error != QProcess::FailedToStart)
        return;
    m_outcome.headline =
        tr("Cannot start %1: %2").arg(QDir::toNativeSeparators(m_program), m_process.errorString());
    conclude();
}

QString ConversionRun::headline() const
{
    if (m_outcome.status == 0)
        return tr("Converted %1 to %2.")
            .arg(QFileInfo(m_outcome.source).fileName(), QFileInfo(m_outcome.output).fileName());
    if (m_outcome.cancelled)
        return tr("Cancelled: the KX9 file was not written.");
    if (m_outcome.status < 0)
        return tr("plaxbridge stopped unexpectedly; the KX9 file was not written.");
    QString failure;
    for (const QString& line : m_outcome.messages) {
        const QString text = failureText(line);
        if (!text.isEmpty())
            failure = text;
    }
    if (!failure.isEmpty())
        return sentence(failure);
    return tr("plaxbridge failed with exit status %1.").arg(m_outcome.status);
}

void ConversionRun::conclude()
{
    if (!m_running)
        return;
    m_running = false;
    m_killTimer.stop();
    readErrors();
    if (!m_pending.isEmpty())
        handleLine(m_pending);
    m_pending.clear();
    m_outcome.summaryText = QString::fromLocal8Bit(m_process.readAllStandardOutput());

    const QString html = m_reportFolder->filePath(QStringLiteral("report.html"));
    const QString json = m_reportFolder->filePath(QStringLiteral("report.json"));
    if (QFileInfo(html).isFile())
        m_outcome.reportHtml = html;
    if (QFileInfo(json).isFile())
        m_outcome.reportJson = json;

    if (m_outcome.headline.isEmpty())   // set already when the child could not start
        m_outcome.headline = headline();
    emit finished();
}
