#include "ScriptedEditor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QJsonDocument>
#include <QMetaObject>
#include <QMutexLocker>
#include <QTcpSocket>
#include <QTimer>

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
    run([this] {
        socket->abort();
        delete socket;
        socket = nullptr;
    });
    thread.quit();
    thread.wait();
}

void ScriptedEditor::run(const std::function<void()>& work)
{
    QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

bool ScriptedEditor::connectTo(quint16 port)
{
    bool ok = false;
    run([&] {
        socket->connectToHost(QHostAddress::LocalHost, port);
        ok = socket->waitForConnected(5000);
    });
    QMutexLocker locker(&mutex);
    connectedState = ok;
    return ok;
}

void ScriptedEditor::announce(const QString& deviceUID)
{
    {
        QMutexLocker locker(&mutex);
        uid = deviceUID;
    }
    QJsonObject inner{{"from", deviceUID}};
    sendRaw(QJsonDocument(QJsonObject{{"connected", inner}}).toJson(QJsonDocument::Compact) + "\n");
}

void ScriptedEditor::notify(const QString& key)
{
    QJsonObject inner{{"from", deviceUID()}, {"cmd", key}, {"cmdinfo", QJsonObject()}};
    sendRaw(QJsonDocument(QJsonObject{{"notify", inner}}).toJson(QJsonDocument::Compact) + "\n");
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

void ScriptedEditor::sendAfter(int ms, const QByteArray& line)
{
    QTimer::singleShot(ms, this, [this, line] {
        if (socket) {
            socket->write(line + "\n");
            socket->flush();
        }
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

int ScriptedEditor::requestCount() const
{
    QMutexLocker locker(&mutex);
    return received.size();
}

bool ScriptedEditor::isConnected() const
{
    QMutexLocker locker(&mutex);
    return connectedState;
}

QString ScriptedEditor::deviceUID() const
{
    QMutexLocker locker(&mutex);
    return uid;
}

QByteArray ScriptedEditor::reply(const QJsonObject& request, const QString& result, const QJsonObject& cmdinfo,
                                 const QString& progress) const
{
    QJsonObject inner{{"from", deviceUID()},
                      {"to", request.value("from")},
                      {"reqid", request.value("reqid")},
                      {"cmd", request.value("cmd")},
                      {"result", result},
                      {"progress", progress},
                      {"cmdinfo", cmdinfo}};
    return QJsonDocument(QJsonObject{{"reply", inner}}).toJson(QJsonDocument::Compact);
}

ScriptedEditor::Responder ScriptedEditor::okResponder(const ScriptedEditor* editor)
{
    return [editor](const QJsonObject& request) { return QList<QByteArray>{editor->reply(request, "ok")}; };
}

void ScriptedEditor::onReadyRead()
{
    buffer.append(socket->readAll());
    int nl;
    while ((nl = buffer.indexOf('\n')) >= 0) {
        const QByteArray line = buffer.left(nl);
        buffer.remove(0, nl + 1);
        const QJsonObject top = QJsonDocument::fromJson(line).object();
        Responder r;
        {
            QMutexLocker locker(&mutex);
            rawLines.append(line);
            if (!top.contains("request"))
                continue;
            received.append(top.value("request").toObject());
            r = responder;
        }
        if (!r)
            continue;
        for (const QByteArray& answer : r(top.value("request").toObject()))
            socket->write(answer + "\n");
        socket->flush();
    }
}

bool spinUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}
