// An editor stand-in for faults the editor program has no option for. It
// connects, announces itself, reports "MMS Readied" and answers the window
// command "ok"; every other request is answered as QORA_FAULT_PEER says:
//   malformed       a burst of lines that are no usable final reply
//   progress-close  long commands get a progress reply, then the peer closes
//                   and exits; other requests are answered "ok"
// It ends when the connection closes.
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

namespace {

QByteArray line(const QJsonObject& message) { return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n'; }

bool isLong(const QString& cmd)
{
    return cmd == "set_save" || cmd == "set_load" || cmd == "set_scene_store" || cmd == "set_scene_recall"
        || cmd == "set_init_current";
}

// Lines that are no usable final reply: not JSON, cut short, an unknown kind,
// a result that is no text or none, no inner object, fields of wrong types.
QByteArray malformedBurst(const QString& uid, const QJsonObject& request)
{
    return QString(R"(this is not json
{"reply":{"result":"ok"
{"answer":{"from":"%1","result":"ok"}}
{"reply":{"from":"%1","result":17}}
{"reply":{"from":"%1","reqid":"%2"}}
{"reply":[1,2,3]}
{"reply":{"result":"progress","progress":1e400,"cmdinfo":"x"}}
{"reply":{"result":"maybe","cmdinfo":{"d:blob":"%%not base64%%"}}}
{"notify":{"from":12,"cmd":["MMS Readied"]}}
["reply","ok"]


)").arg(uid, request.value("reqid").toString()).toUtf8();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString uid;
    quint16 port = 0;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg.startsWith("uid="))
            uid = arg.mid(4);
        else if (arg.startsWith("port="))
            port = static_cast<quint16>(arg.mid(5).toUInt());
    }
    const QByteArray mode = qgetenv("QORA_FAULT_PEER");

    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return 2;
    QObject::connect(&socket, &QTcpSocket::disconnected, &app, &QCoreApplication::quit);
    socket.write(line({{"connected", QJsonObject{{"from", uid}}}}));
    socket.write(line({{"notify", QJsonObject{{"from", uid}, {"cmd", "MMS Readied"}, {"cmdinfo", QJsonObject()}}}}));

    QByteArray pending;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&]() {
        pending += socket.readAll();
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QJsonObject request = QJsonDocument::fromJson(pending.left(end)).object().value("request").toObject();
            pending.remove(0, end + 1);
            if (request.isEmpty())
                continue;
            const QString cmd = request.value("cmd").toString();
            QJsonObject reply{{"from", uid}, {"to", request.value("from")}, {"reqid", request.value("reqid")},
                              {"cmd", cmd}, {"progress", "0"}, {"result", "ok"}, {"cmdinfo", QJsonObject()}};
            if (cmd == "set_window_visibility") {
                socket.write(line({{"reply", reply}}));
            } else if (mode == "malformed") {
                socket.write(malformedBurst(uid, request));
            } else if (mode == "progress-close" && isLong(cmd)) {
                reply["result"] = "progress";
                reply["progress"] = "50";
                socket.write(line({{"reply", reply}}));
                socket.flush();
                socket.waitForBytesWritten(1000);
                socket.disconnectFromHost();
                if (socket.state() != QAbstractSocket::UnconnectedState)
                    socket.waitForDisconnected(1000);
                app.exit(0);
                return;
            } else {
                socket.write(line({{"reply", reply}}));
            }
        }
    });
    return app.exec();
}
