#pragma once

#include <QVariant>

class QByteArray;

// Writes the link's JSON for variant maps and lists (the codec's rules, see
// JsonCodec) straight into bytes: the text that QJsonDocument writes in
// compact form, without building a document first. A batch of writes is
// thousands of small maps, and the document classes cost about a
// microsecond per map.
class CompactJson
{
public:
    CompactJson() = delete;

    // False, with `out` unchanged, for a map whose keys QJsonObject might
    // order differently (keys outside ASCII): the caller takes the document
    // route then.
    static bool appendMap(QByteArray& out, const QVariantMap& map);
    static bool appendList(QByteArray& out, const QVariantList& list);
    // A JSON string, escaped as QJsonDocument escapes it.
    static void appendString(QByteArray& out, const QString& text);
};
