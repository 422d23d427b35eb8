#pragma once

#include "EditorOptions.h"
#include "EditorRequest.h"

#include <QByteArray>
#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTcpSocket>

class CommandProcessor;
struct ReplyStep;

// The editor's end of the link: connects to the plug-in, announces itself,
// reports "MMS Readied", cuts the byte stream into line-feed-terminated JSON
// messages, answers requests through the CommandProcessor, and applies the
// fault options. Requests are answered one at a time in arrival order.
class EditorSession : public QObject {
    Q_OBJECT
public:
    // An unfinished line longer than this is dropped.
    static constexpr int MaxPendingBytes = 64 * 1024 * 1024;

    EditorSession(const EditorOptions& options, CommandProcessor* processor,
                  QObject* parent = nullptr);

    // Opens the log and starts connecting; false with a message when the log
    // cannot be opened.
    bool start(QString* error);
    // Closes the connection as if the editor had gone, whatever is queued.
    void closeConnection();

signals:
    // The session is over: 0 after the connection closed, 2 when it could
    // not be made.
    void finished(int exitCode);

private slots:
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void sendReady();
    void processNext();

private:
    struct Pending {
        QByteArray raw;
        EditorRequest request;
    };

    void answerCurrent();
    void handleLine(const QByteArray& line);
    void writeMessage(const QJsonObject& message);
    void writeBytes(const QByteArray& bytes);
    void sendReply(const EditorRequest& request, const ReplyStep& step);
    void logLine(const QByteArray& line);

    EditorOptions options_;
    CommandProcessor* processor_;
    QTcpSocket socket_;
    QFile log_;
    QByteArray buffer_;
    QList<Pending> queue_;
    Pending current_;
    bool busy_ = false;
    bool connected_ = false;
    bool finished_ = false;
    int requestsReceived_ = 0;
    int finalReplies_ = 0;
    QSet<QString> aborted_;
};
