#include "EditorSession.h"

#include "CommandProcessor.h"
#include "ReplyStep.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const char kGarbage[] = "this line is not JSON\n";

template <typename Writer>
void writeJson(Writer& out, const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        out.Bool(value.toBool());
        break;
    case QJsonValue::Double: {
        const double d = value.toDouble();
        // Integers as integers, as the plug-in's own writer does.
        if (d == double(qint64(d)) && std::abs(d) < 9e15)
            out.Int64(qint64(d));
        else
            out.Double(d);
        break;
    }
    case QJsonValue::String: {
        const QByteArray utf8 = value.toString().toUtf8();
        out.String(utf8.constData(), rapidjson::SizeType(utf8.size()));
        break;
    }
    case QJsonValue::Array:
        out.StartArray();
        for (const QJsonValue& element : value.toArray())
            writeJson(out, element);
        out.EndArray();
        break;
    case QJsonValue::Object: {
        out.StartObject();
        const QJsonObject object = value.toObject();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            const QByteArray key = it.key().toUtf8();
            out.Key(key.constData(), rapidjson::SizeType(key.size()));
            writeJson(out, it.value());
        }
        out.EndObject();
        break;
    }
    default:
        out.Null();
        break;
    }
}


} // namespace

EditorSession::EditorSession(const EditorOptions& options, CommandProcessor* processor,
                             QObject* parent)
    : QObject(parent)
    , options_(options)
    , processor_(processor)
{
    connect(&socket_, &QTcpSocket::connected, this, &EditorSession::onConnected);
    connect(&socket_, &QTcpSocket::readyRead, this, &EditorSession::onReadyRead);
    connect(&socket_, &QTcpSocket::disconnected, this, &EditorSession::onDisconnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &EditorSession::onError);
}

bool EditorSession::start(QString* error)
{
    if (!options_.logPath.isEmpty()) {
        log_.setFileName(options_.logPath);
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            *error = QStringLiteral("cannot open log %1: %2").arg(options_.logPath, log_.errorString());
            return false;
        }
    }
    socket_.connectToHost(QHostAddress(QHostAddress::LocalHost), quint16(options_.port));
    return true;
}

void EditorSession::closeConnection()
{
    queue_.clear();
    socket_.disconnectFromHost();
}

void EditorSession::onConnected()
{
    connected_ = true;
    // A long command's progress step and final reply leave as two writes;
    // with Nagle's rule the second waits for the first one's delayed ACK
    // (about 40 ms on Linux), twice per converted scene.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!options_.noAnnounce) {
        QJsonObject inner;
        inner.insert(QLatin1String("from"), options_.uid);
        QJsonObject message;
        message.insert(QLatin1String("connected"), inner);
        writeMessage(message);
    }
    if (options_.noReady)
        return;
    if (options_.readyDelayMs > 0)
        QTimer::singleShot(options_.readyDelayMs, this, &EditorSession::sendReady);
    else
        sendReady();
}

void EditorSession::sendReady()
{
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return;
    QJsonObject inner;
    inner.insert(QLatin1String("from"), options_.uid);
    inner.insert(QLatin1String("cmd"), QStringLiteral("MMS Readied"));
    inner.insert(QLatin1String("cmdinfo"), QJsonObject());
    QJsonObject message;
    message.insert(QLatin1String("notify"), inner);
    writeMessage(message);
}

void EditorSession::onReadyRead()
{
    // A long request arrives in many reads: only the new bytes are searched
    // for its end, or every read would scan the whole line again.
    const int from = buffer_.size();
    buffer_.append(socket_.readAll());
    int start = 0;
    for (int nl = buffer_.indexOf('\n', from); nl >= 0; nl = buffer_.indexOf('\n', start)) {
        const QByteArray line = buffer_.mid(start, nl - start);
        start = nl + 1;
        handleLine(line);
    }
    buffer_.remove(0, start);
    if (buffer_.size() > MaxPendingBytes)
        buffer_.clear(); // a runaway line without a line feed: drop it
    processNext();
}

void EditorSession::handleLine(const QByteArray& line)
{
    EditorRequest message;
    if (!EditorRequest::parse(line, &message))
        return; // not a message: dropped, as the plug-in does with ours
    logLine(line);
    if (message.kind == EditorRequest::Kind::Request) {
        ++requestsReceived_;
        if (options_.exitAfter > 0 && requestsReceived_ >= options_.exitAfter) {
            // Simulates a crash in the middle of a command: no reply, no goodbye.
            if (log_.isOpen())
                log_.flush();
            std::fflush(nullptr);
            std::_Exit(3);
        }
        queue_.append(Pending{line, message});
    } else if (message.kind == EditorRequest::Kind::Abort) {
        for (int i = 0; i < queue_.size(); ++i) {
            if (queue_.at(i).request.reqid == message.reqid) {
                queue_.removeAt(i);
                return;
            }
        }
        if (busy_ && current_.request.reqid == message.reqid)
            aborted_.insert(message.reqid);
    }
}

void EditorSession::processNext()
{
    // A loop rather than recursion: a long pipeline of requests must not
    // deepen the stack.
    while (!busy_ && !queue_.isEmpty() && !finished_) {
        busy_ = true;
        current_ = queue_.takeFirst();
        if (options_.delayMs > 0) {
            QTimer::singleShot(options_.delayMs, this, [this]() {
                answerCurrent();
                processNext();
            });
            return;
        }
        answerCurrent();
    }
}

void EditorSession::answerCurrent()
{
    const EditorRequest& request = current_.request;
    const bool answer = !aborted_.remove(request.reqid) && !options_.dropCmd.contains(request.cmd);
    busy_ = false;
    if (!answer)
        return;

    bool forcedNg = false;
    for (const QString& text : options_.ngMatch) {
        if (current_.raw.contains(text.toUtf8()))
            forcedNg = true;
    }
    const auto refuse = [&](const char* why) {
        ReplyStep step;
        step.result = QStringLiteral("ng");
        step.progress = QStringLiteral("100");
        step.cmdinfo.insert(QLatin1String("error"), QLatin1String(why));
        sendReply(request, step);
    };
    if (forcedNg) {
        refuse("refused by --ng-match");
    } else if (request.to != options_.uid) {
        refuse("request addressed to another device");
    } else {
        const auto steps = processor_->handle(request);
        for (const ReplyStep& step : steps)
            sendReply(request, step);
    }
    ++finalReplies_;
    if (options_.closeAfter > 0 && finalReplies_ >= options_.closeAfter) {
        queue_.clear();
        socket_.disconnectFromHost();
    }
}

void EditorSession::sendReply(const EditorRequest& request, const ReplyStep& step)
{
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> out(buffer);
    const auto string = [&out](const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        out.String(utf8.constData(), rapidjson::SizeType(utf8.size()));
    };
    out.StartObject();
    out.Key("reply");
    out.StartObject();
    out.Key("cmd");
    string(request.cmd);
    out.Key("cmdinfo");
    out.StartObject();
    for (auto it = step.cmdinfo.constBegin(); it != step.cmdinfo.constEnd(); ++it) {
        string(it.key());
        writeJson(out, it.value());
    }
    if (step.hasList) {
        out.Key("list");
        out.StartArray();
        for (const ReadValue& entry : step.list) {
            out.StartObject();
            out.Key("prmType");
            out.Int(entry.type);
            out.Key("prmValue");
            writeJson(out, entry.value);
            out.EndObject();
        }
        out.EndArray();
    }
    out.EndObject();
    out.Key("from");
    string(options_.uid);
    out.Key("progress");
    string(step.progress);
    out.Key("reqid");
    string(request.reqid);
    out.Key("result");
    string(step.result);
    out.Key("to");
    string(request.from);
    out.EndObject();
    out.EndObject();
    if (options_.garbageBeforeReply)
        writeBytes(QByteArray(kGarbage) + '\n');
    writeBytes(QByteArray(buffer.GetString(), int(buffer.GetSize())) + '\n');
}

void EditorSession::writeMessage(const QJsonObject& message)
{
    writeBytes(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
}

void EditorSession::writeBytes(const QByteArray& bytes)
{
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return;
    if (!options_.byteByByte) {
        socket_.write(bytes);
        socket_.flush();
        return;
    }
    for (int i = 0; i < bytes.size(); ++i) {
        socket_.write(bytes.constData() + i, 1);
        socket_.flush();
        QThread::msleep(1);
    }
}

void EditorSession::logLine(const QByteArray& line)
{
    if (!log_.isOpen())
        return;
    log_.write(line);
    log_.write("\n");
    log_.flush();
}

void EditorSession::onDisconnected()
{
    if (finished_)
        return;
    finished_ = true;
    emit finished(0);
}

void EditorSession::onError(QAbstractSocket::SocketError error)
{
    Q_UNUSED(error);
    if (connected_ || finished_)
        return; // a closing connection ends through onDisconnected
    finished_ = true;
    std::fprintf(stderr, "qora-editor: cannot connect to 127.0.0.1:%d: %s\n", options_.port,
                 qPrintable(socket_.errorString()));
    emit finished(2);
}
