#pragma once

// A stand-in for the editor program inside the test process: a TCP client on
// a thread of its own that connects to the plug-in's port, announces a device
// identifier and answers requests as the test tells it. The calls block until
// the peer thread has done the work.
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QThread>

#include <functional>

class QTcpSocket;

class ScriptedEditor : public QObject
{
    Q_OBJECT
public:
    // Lines to write (without line feeds) in answer to one request; gets the
    // request's inner object ("from", "to", "reqid", "cmd", "cmdinfo").
    using Responder = std::function<QList<QByteArray>(const QJsonObject& request)>;

    ScriptedEditor();
    ~ScriptedEditor() override;

    bool connectTo(quint16 port);
    void announce(const QString& deviceUID);
    void notify(const QString& key);
    void sendRaw(const QByteArray& bytes);
    void close();

    void setResponder(Responder responder);
    // Answers every request with `result` and `cmdinfo`.
    void answerAll(const QString& result, const QJsonObject& cmdinfo = QJsonObject());
    // For responders (peer thread): write `line` after `ms` milliseconds.
    void sendAfter(int ms, const QByteArray& line);
    QList<QJsonObject> requests() const;   // inner objects, in arrival order
    QList<QByteArray> lines() const;       // every line received, raw
    bool isConnected() const;
    // A reply line for `request` with the given result and data.
    QByteArray reply(const QJsonObject& request, const QString& result, const QJsonObject& cmdinfo = QJsonObject(),
                     const QString& progress = QStringLiteral("0")) const;

private:
    void onReadyRead();
    void run(const std::function<void()>& work) { QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection); }

    QThread thread;
    QTcpSocket* socket = nullptr;   // peer thread only
    QByteArray buffer;              // peer thread only
    mutable QMutex mutex;
    Responder responder;
    QList<QJsonObject> received;
    QList<QByteArray> rawLines;
    QString uid;
    bool connectedState = false;
};

// {"info":{"prmValue":text}}, the data of a reply that carries a text.
QJsonObject infoText(const QString& text);

// Spins the calling thread's event loop until `done` or the time is up.
bool spinUntil(const std::function<bool()>& done, int timeoutMs = 5000);
