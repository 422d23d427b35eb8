// A minimal editor for scene-information answers the real editor never
// gives: it connects, announces itself, reports "MMS Readied", and answers
// every request "ok"; get_scene_info replies carry the text scripted for the
// information type in QORA_SCRIPTED_SCENE_INFO ("Type=text;Type=text"), or
// "ng" for a type not scripted. It ends when the plug-in closes the connection.
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTcpSocket>

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
    QMap<QString, QString> script;
    for (const QString& pair : QString::fromUtf8(qgetenv("QORA_SCRIPTED_SCENE_INFO")).split(';', Qt::SkipEmptyParts))
        script.insert(pair.section('=', 0, 0), pair.section('=', 1));

    QTcpSocket socket;
    const auto send = [&socket](const QJsonObject& message) {
        socket.write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    };
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return 2;
    QObject::connect(&socket, &QTcpSocket::disconnected, &app, &QCoreApplication::quit);
    send({{"connected", QJsonObject{{"from", uid}}}});
    send({{"notify", QJsonObject{{"from", uid}, {"cmd", "MMS Readied"}, {"cmdinfo", QJsonObject()}}}});

    QByteArray pending;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&]() {
        pending += socket.readAll();
        for (int end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QJsonObject request = QJsonDocument::fromJson(pending.left(end)).object().value("request").toObject();
            if (request.isEmpty())
                continue;
            const QString cmd = request.value("cmd").toString();
            QJsonObject reply{{"from", uid}, {"to", request.value("from")}, {"reqid", request.value("reqid")},
                              {"cmd", cmd}, {"result", "ok"}, {"progress", "100"}, {"cmdinfo", QJsonObject()}};
            const QString type =
                request.value("cmdinfo").toObject().value("info").toObject().value("prmSceneInfoType").toString();
            if (cmd == "get_scene_info" && script.contains(type))
                reply["cmdinfo"] = QJsonObject{{"info", QJsonObject{{"prmValue", script.value(type)}}}};
            else if (cmd == "get_scene_info")
                reply["result"] = "ng";
            send({{"reply", reply}});
        }
    });
    return app.exec();
}
