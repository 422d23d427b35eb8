#include "EditorPeer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QTcpSocket>
#include <QUuid>

EditorPeer::EditorPeer()
    : uid(QUuid::createUuid().toString())
    , serverName(QUuid::createUuid().toString())
{
    logPath = dir.filePath("requests.log");
    server.listen(QHostAddress::LocalHost, 0);
}

EditorPeer::~EditorPeer()
{
    if (socket)
        socket->abort();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QString EditorPeer::editorPath()
{
    return qEnvironmentVariable("QORA_BIN_DIR") + "/qora-editor";
}

bool EditorPeer::start(const QStringList& extra, const QString& environmentOptions)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QORA_EDITOR_OPTIONS");
    if (!environmentOptions.isEmpty())
        env.insert("QORA_EDITOR_OPTIONS", environmentOptions);
    process.setProcessEnvironment(env);
    QStringList args = {"-mKX9C", "uid=" + uid, "work=" + dir.path(),
                        "port=" + QString::number(server.serverPort()), "appname=Plaxbridge",
                        "--log", logPath};
    process.start(editorPath(), args + extra);
    return process.waitForStarted(5000);
}

bool EditorPeer::accept(int ms)
{
    if (!server.waitForNewConnection(ms))
        return false;
    socket = server.nextPendingConnection();
    return socket != nullptr;
}

bool EditorPeer::startReady(const QStringList& extra, const QString& environmentOptions)
{
    if (!start(extra, environmentOptions) || !accept())
        return false;
    const QJsonObject connected = readMessage();
    const QJsonObject ready = readMessage();
    return connected["connected"].toObject()["from"].toString() == uid
        && ready["notify"].toObject()["cmd"].toString() == "MMS Readied";
}

QByteArray EditorPeer::readLine(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (buffer_.indexOf('\n') < 0) {
        if (!socket)
            return QByteArray();
        if (socket->bytesAvailable() == 0) {
            const qint64 left = ms - timer.elapsed();
            if (left <= 0 || !socket->waitForReadyRead(int(left)))
                return QByteArray();
        }
        buffer_.append(socket->readAll());
        ++reads;
    }
    const int nl = buffer_.indexOf('\n');
    QByteArray line = buffer_.left(nl);
    buffer_.remove(0, nl + 1);
    if (line.isNull())
        line = QByteArray("");
    return line;
}

QJsonObject EditorPeer::readMessage(int ms)
{
    return QJsonDocument::fromJson(readLine(ms)).object();
}

void EditorPeer::writeRaw(const QByteArray& bytes)
{
    socket->write(bytes);
    socket->flush();
    socket->waitForBytesWritten(1000);
}

QString EditorPeer::send(const QString& cmd, const QJsonObject& cmdinfo, const QString& to)
{
    const QString reqid = QUuid::createUuid().toString();
    const QJsonObject request{{"request", QJsonObject{{"from", serverName}, {"to", to.isEmpty() ? uid : to},
                                                      {"reqid", reqid}, {"cmd", cmd}, {"cmdinfo", cmdinfo}}}};
    writeRaw(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    return reqid;
}

QList<QJsonObject> EditorPeer::replies(int ms)
{
    QList<QJsonObject> out;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        const QByteArray line = readLine(int(ms - timer.elapsed()));
        if (line.isNull())
            break;
        const QJsonObject reply = QJsonDocument::fromJson(line).object()["reply"].toObject();
        if (reply.isEmpty())
            continue;
        out.append(reply);
        const QString result = reply["result"].toString();
        if (result == "ok" || result == "ng")
            break;
    }
    return out;
}

QJsonObject EditorPeer::command(const QString& cmd, const QJsonObject& cmdinfo, int ms)
{
    send(cmd, cmdinfo);
    const QList<QJsonObject> all = replies(ms);
    return all.isEmpty() ? QJsonObject() : all.last();
}

QJsonValue EditorPeer::value(const QString& address)
{
    const QJsonObject r = command("get_prm_val", {{"info", QJsonObject{{"prmAddr", address}}}});
    return r["cmdinfo"].toObject()["info"].toObject()["prmValue"];
}

bool EditorPeer::set(const QString& address, const QJsonValue& value)
{
    return command("set_prm_val", {{"info", QJsonObject{{"prmAddr", address}, {"prmValue", value}}}})["result"]
        == "ok";
}

bool EditorPeer::waitForExit(int ms, int* exitCode)
{
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(ms))
        return false;
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return true;
}

bool EditorPeer::socketClosed(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (socket->state() == QAbstractSocket::ConnectedState && timer.elapsed() < ms) {
        socket->waitForReadyRead(50);
        buffer_.append(socket->readAll());
    }
    return socket->state() != QAbstractSocket::ConnectedState;
}

QStringList EditorPeer::loggedLines() const
{
    QFile f(logPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}
