#pragma once

#include <QVariant>

class OVariant;
class QByteArray;
class QJsonArray;
class QJsonObject;
class QString;
class QStringList;

// The envelopes of the editor link and the value rules between Qt variants,
// JSON and console values. Stateless.
//
// Map entries whose key contains "d:" carry bytes as Base64 text. Numbers and
// booleans inside lists travel as strings, and only strings survive the way
// back from an array: the editor's lists hold maps and texts only.
class JsonCodec
{
public:
    JsonCodec() = delete;

    // Message kinds (the one top-level key of a message).
    static const char* const KindConnected;
    static const char* const KindRequest;
    static const char* const KindReply;
    static const char* const KindNotify;
    static const char* const KindAbort;

    // Message level; bytes are without the framing line feed.
    static QString messageKind(const QByteArray& message);
    // The message's top-level object (empty for anything else), for a reader
    // that asks several of the questions below of one message: each of the
    // byte forms parses the whole message again.
    static QJsonObject parseMessage(const QByteArray& message);
    static QString messageKind(const QJsonObject& message);
    static bool makeRequestMessage(QByteArray& out, const QString& serverName, const QString& deviceUID,
                                   const QString& reqUID, const QString& cmdKey, const QVariantMap& params);
    // The same with the cmdinfo object already written as JSON text.
    static void makeRequestMessage(QByteArray& out, const QString& serverName, const QString& deviceUID,
                                   const QString& reqUID, const QString& cmdKey, const QByteArray& cmdinfo);
    // The cmdinfo text of a "getData_prm_val" of `addresses`: what the map
    // {"list": [{"prmAddr": address}, ...]} is written as.
    static QByteArray readListInfo(const QStringList& addresses);
    static bool makeAbortMessage(QByteArray& out, const QString& serverName, const QString& reqUID);
    static bool parseConnectedMessage(QString& deviceUID, const QByteArray& message);
    static bool parseReplyMessage(QString& from, QString& to, QString& reqUID, QString& cmdKey,
                                  QVariantMap& info, QString& result, unsigned long& progress,
                                  const QByteArray& message);
    static bool parseNotifyMessage(QString& from, QString& cmdKey, QVariantMap& info, const QByteArray& message);
    static bool parseConnectedMessage(QString& deviceUID, const QJsonObject& message);
    static bool parseReplyMessage(QString& from, QString& to, QString& reqUID, QString& cmdKey,
                                  QVariantMap& info, QString& result, unsigned long& progress,
                                  const QJsonObject& message);
    // With `compactLists`, the list of a "getData_prm_val" reply whose
    // entries are maps of scalars comes as ListValues (ListValue.h) under
    // "list"; any other list as above.
    static bool parseReplyMessage(QString& from, QString& to, QString& reqUID, QString& cmdKey,
                                  QVariantMap& info, QString& result, unsigned long& progress,
                                  const QJsonObject& message, bool compactLists);
    static bool parseNotifyMessage(QString& from, QString& cmdKey, QVariantMap& info, const QJsonObject& message);

    // Value level; each appends to its output.
    static bool variantMapToJson(QJsonObject& out, const QVariantMap& map);
    static bool variantListToJson(QJsonArray& out, const QVariantList& list);
    static bool jsonToVariantMap(QVariantMap& out, const QJsonObject& object);
    static bool jsonToVariantList(QVariantList& out, const QJsonArray& array);

    // By the editor's value-type code ("prmType"). Both throw a heap
    // ConverterException pointer for a type they cannot carry.
    static OVariant convertQVariantToOVariant(const QVariant& value, int type);
    static QVariant convertOVariantToQVariant(const OVariant& value);
};
