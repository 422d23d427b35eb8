#include "ScriptedEditor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray line(const char* kind, const QJsonObject& inner)
{
    return QJsonDocument(QJsonObject{{kind, inner}}).toJson(QJsonDocument::Compact);
}

} // namespace

ScriptedEditor::ScriptedEditor()
{
    thread.start();
    moveToThread(&thread);
    run([this] {
        socket = new QTcpSocket(this);
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedEditor::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this] {
            QMutexLocker locker(&mutex);
            connectedState = false;
        });
    });
}

ScriptedEditor::~ScriptedEditor()
{
    run([this] { delete socket, socket = nullptr; });
    thread.quit();
    thread.wait();
}

bool ScriptedEditor::connectTo(quint16 port)
{
    bool ok = false;
    run([&] {
        socket->connectToHost(QHostAddress::LocalHost, port);
        ok = socket->waitForConnected(5000);
    });
    QMutexLocker locker(&mutex);
    return connectedState = ok;
}

void ScriptedEditor::announce(const QString& deviceUID)
{
    mutex.lock();
    uid = deviceUID;
    mutex.unlock();
    sendRaw(line("connected", {{"from", deviceUID}}) + "\n");
}

void ScriptedEditor::notify(const QString& key)
{
    mutex.lock();
    const QByteArray message = line("notify", {{"from", uid}, {"cmd", key}, {"cmdinfo", QJsonObject()}});
    mutex.unlock();
    sendRaw(message + "\n");
}

void ScriptedEditor::sendRaw(const QByteArray& bytes)
{
    run([&] {
        socket->write(bytes);
        socket->flush();
    });
}

void ScriptedEditor::close()
{
    run([this] {
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(2000);
    });
}

void ScriptedEditor::setResponder(Responder r)
{
    QMutexLocker locker(&mutex);
    responder = std::move(r);
}

void ScriptedEditor::answerAll(const QString& result, const QJsonObject& cmdinfo)
{
    setResponder([this, result, cmdinfo](const QJsonObject& r) { return QList<QByteArray>{reply(r, result, cmdinfo)}; });
}

void ScriptedEditor::sendAfter(int ms, const QByteArray& message)
{
    QTimer::singleShot(ms, this, [this, message] {
        if (socket && socket->write(message + "\n") > 0)
            socket->flush();
    });
}

QList<QJsonObject> ScriptedEditor::requests() const
{
    QMutexLocker locker(&mutex);
    return received;
}

QList<QByteArray> ScriptedEditor::lines() const
{
    QMutexLocker locker(&mutex);
    return rawLines;
}

bool ScriptedEditor::isConnected() const
{
    QMutexLocker locker(&mutex);
    return connectedState;
}

QByteArray ScriptedEditor::reply(const QJsonObject& request, const QString& result, const QJsonObject& cmdinfo,
                                 const QString& progress) const
{
    QMutexLocker locker(&mutex);
    return line("reply", {{"from", uid}, {"to", request.value("from")}, {"reqid", request.value("reqid")},
                          {"cmd", request.value("cmd")}, {"result", result}, {"progress", progress}, {"cmdinfo", cmdinfo}});
}

void ScriptedEditor::onReadyRead()
{
    buffer.append(socket->readAll());
    for (int nl; (nl = buffer.indexOf('\n')) >= 0; buffer.remove(0, nl + 1)) {
        const QByteArray text = buffer.left(nl);
        const QJsonObject request = QJsonDocument::fromJson(text).object().value("request").toObject();
        QMutexLocker locker(&mutex);
        rawLines.append(text);
        if (!request.isEmpty())
            received.append(request);
        const Responder r = request.isEmpty() ? nullptr : responder;
        locker.unlock();
        for (const QByteArray& answer : r ? r(request) : QList<QByteArray>())
            socket->write(answer + "\n");
        socket->flush();
    }
}

QJsonObject infoText(const QString& text) { return QJsonObject{{"info", QJsonObject{{"prmValue", text}}}}; }

bool spinUntil(const std::function<bool()>& done, int timeoutMs)
{
    for (const QDeadlineTimer deadline(timeoutMs); !done(); QThread::msleep(2)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
