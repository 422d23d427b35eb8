#include "EditorHarness.h"

#include "mixer/QORA.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutexLocker>
#include <QSettings>
#include <QThread>

namespace {

QMutex captureMutex;
QStringList captured; // every line since the first LogCapture

void capture(QtMsgType, const QMessageLogContext&, const QString& text)
{
    QMutexLocker lock(&captureMutex);
    captured.append(text);
}

} // namespace

QString EditorHarness::realEditor()
{
    return QString::fromLocal8Bit(qgetenv("QORA_BIN_DIR")) + QStringLiteral("/qora-editor");
}

QString EditorHarness::workDir()
{
    return QCoreApplication::applicationDirPath();
}

EditorHarness::EditorHarness(const QString& editorPath, const QString& extraOptions, const QString& wireMode)
    : m_iniPath(workDir() + QStringLiteral("/KX9.ini"))
    , m_logPath(workDir() + QStringLiteral("/editor-requests.jsonl"))
{
    QFile::remove(m_logPath);
    QFile::remove(m_iniPath);
    {
        QSettings ini(m_iniPath, QSettings::IniFormat);
        ini.setValue(QStringLiteral("MainApplication/VirtualDeviceFilePath"), editorPath);
        ini.setValue(QStringLiteral("MainApplication/WireMode"), wireMode);
    }
    const QString options = QStringLiteral("--log=") + m_logPath + QLatin1Char(' ') + extraOptions;
    qputenv("QORA_EDITOR_OPTIONS", options.trimmed().toLocal8Bit());
}

EditorHarness::~EditorHarness()
{
    QFile::remove(m_iniPath);
    QFile::remove(m_logPath);
    qunsetenv("QORA_EDITOR_OPTIONS");
}

IMixer* EditorHarness::create()
{
    IMixer* mixer = QORA::create();
    EXPECT_NE(mixer, nullptr);
    return mixer;
}

bool EditorHarness::destroy(IMixer* mixer)
{
    if (mixer)
        mixer->Destroy();
    for (int i = 0; i < 100 && editorsRunning() > 0; ++i)
        QThread::msleep(50);
    return editorsRunning() == 0;
}

int EditorHarness::editorsRunning()
{
    const QByteArray marker = QByteArray("work=") + workDir().toLocal8Bit();
    const QString self = QString::number(QCoreApplication::applicationPid());
    int count = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        // A zombie has an empty command line: it is gone for our purposes.
        if (pid != self && pid.toInt() > 0 && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().split('\0').contains(marker))
            ++count;
    }
    return count;
}

QList<QJsonObject> EditorHarness::requests() const
{
    QList<QJsonObject> result;
    QFile log(m_logPath);
    if (!log.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QJsonObject root = QJsonDocument::fromJson(line).object();
        if (root.contains(QStringLiteral("request")))
            result.append(root.value(QStringLiteral("request")).toObject());
    }
    return result;
}

LogCapture::LogCapture()
{
    QMutexLocker lock(&captureMutex);
    qInstallMessageHandler(&capture);
    m_from = captured.size();
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&captureMutex);
    return captured.mid(m_from);
}

void LogCapture::clear()
{
    QMutexLocker lock(&captureMutex);
    m_from = captured.size();
}

QString commandOf(const QJsonObject& request)
{
    return request.value(QStringLiteral("cmd")).toString();
}

QJsonObject infoOf(const QJsonObject& request)
{
    return request.value(QStringLiteral("cmdinfo")).toObject().value(QStringLiteral("info")).toObject();
}

QString addressOf(const QJsonObject& request)
{
    return infoOf(request).value(QStringLiteral("prmAddr")).toString();
}

QList<QJsonObject> listOf(const QJsonObject& request)
{
    QList<QJsonObject> result;
    for (const QJsonValue& element : request.value(QStringLiteral("cmdinfo")).toObject().value(QStringLiteral("list")).toArray())
        result.append(element.toObject());
    return result;
}

QList<QJsonObject> withCommand(const QList<QJsonObject>& requests, const QString& cmd)
{
    QList<QJsonObject> result;
    for (const QJsonObject& r : requests) {
        if (commandOf(r) == cmd)
            result.append(r);
    }
    return result;
}
