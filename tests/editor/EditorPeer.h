#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>

class QTcpSocket;

// The plug-in's side of the link, reduced to a listening socket and blocking
// reads: starts the built qora-editor as a child process with the plug-in's
// command line and talks to it line by line.
class EditorPeer {
public:
    EditorPeer();
    ~EditorPeer();

    static QString editorPath();

    // Starts the editor with the plug-in's arguments (uid, work directory,
    // port, appname, plus --log into the work directory), then `extra`;
    // `environmentOptions` goes into QORA_EDITOR_OPTIONS.
    bool start(const QStringList& extra = {}, const QString& environmentOptions = {});
    // Waits for the editor's connection.
    bool accept(int ms = 10000);
    // start() + accept() + the "connected" and "MMS Readied" messages.
    bool startReady(const QStringList& extra = {}, const QString& environmentOptions = {});

    // One received line without its line feed; null on time-out.
    QByteArray readLine(int ms = 5000);
    // The next line parsed as a JSON object; empty on time-out or non-JSON.
    QJsonObject readMessage(int ms = 5000);
    void writeRaw(const QByteArray& bytes);
    // Sends a request; returns its request identifier.
    QString send(const QString& cmd, const QJsonObject& cmdinfo, const QString& to = QString());
    // The inner objects of replies up to and including the final one ("ok"
    // or "ng"); stops early on time-out.
    QList<QJsonObject> replies(int ms = 5000);
    // send() + replies(); the final reply or an empty object.
    QJsonObject command(const QString& cmd, const QJsonObject& cmdinfo = {}, int ms = 5000);
    QJsonValue value(const QString& address);
    bool set(const QString& address, const QJsonValue& value);

    // Waits for the editor to end; false if it is still running.
    bool waitForExit(int ms, int* exitCode = nullptr);
    bool socketClosed(int ms);
    QStringList loggedLines() const;

    QString uid;
    QString serverName;
    QString logPath;
    QTemporaryDir dir;
    QProcess process;
    QTcpServer server;
    QTcpSocket* socket = nullptr;
    int reads = 0;

private:
    QByteArray buffer_;
};
