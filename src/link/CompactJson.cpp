#include "link/CompactJson.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

#include <cstdio>

namespace {

const QLatin1String kBinaryMarker("d:");

bool isAsciiKey(const QString& key)
{
    for (const QChar c : key) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Anything the plain loop below would not write as Qt does goes through Qt.
void appendScalarByQt(QByteArray& out, const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    out.append(array.constData() + 1, array.size() - 2);
}

bool appendValue(QByteArray& out, const QVariant& value, bool inList, bool binaryKey);

} // namespace

void CompactJson::appendString(QByteArray& out, const QString& text)
{
    static const char hex[] = "0123456789abcdef";
    const QChar* chars = text.constData();
    const int size = text.size();

    // Addresses and values are plain ASCII: one byte per character, written
    // in place. Anything else leaves the rest to the general loop.
    const int start = out.size();
    out.resize(start + size + 2);
    char* p = out.data() + start;
    *p++ = '"';
    int plainStart = 0;
    while (plainStart < size) {
        const char16_t c = chars[plainStart].unicode();
        if (c < 0x20 || c > 0x7F || c == '"' || c == '\\')
            break;
        *p++ = char(c);
        ++plainStart;
    }
    if (plainStart == size) {
        *p = '"';
        return;
    }
    out.truncate(int(p - out.constData()));

    const auto flushPlain = [&](int end) {
        if (end > plainStart)
            out.append(QStringView(chars + plainStart, end - plainStart).toUtf8());
    };
    for (int i = plainStart; i < size; ++i) {
        const char16_t c = chars[i].unicode();
        if (c >= 0x20 && c != '"' && c != '\\' && (c < 0xD800 || c > 0xDFFF))
            continue;
        flushPlain(i);
        plainStart = i + 1;
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\b': out.append("\\b"); break;
        case '\f': out.append("\\f"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            if (c < 0x20) {
                out.append("\\u00");
                out.append(hex[c >> 4]);
                out.append(hex[c & 0xF]);
            } else {
                // Surrogates, paired or not: Qt's own conversion decides.
                const bool paired = QChar::isHighSurrogate(c) && i + 1 < size && chars[i + 1].isLowSurrogate();
                QByteArray quoted;
                appendScalarByQt(quoted, QString(chars + i, paired ? 2 : 1));
                out.append(quoted.constData() + 1, quoted.size() - 2);
                if (paired)
                    ++i;
                plainStart = i + 1;
            }
        }
    }
    flushPlain(size);
    out.append('"');
}

bool CompactJson::appendMap(QByteArray& out, const QVariantMap& map)
{
    const int mark = out.size();
    out.append('{');
    bool first = true;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        // QJsonObject keeps the last of equal keys; a multi-map lists them
        // next to each other.
        const auto next = std::next(it);
        if (next != map.cend() && next.key() == it.key())
            continue;
        if (!isAsciiKey(it.key())) {
            out.truncate(mark);
            return false;
        }
        if (!first)
            out.append(',');
        first = false;
        appendString(out, it.key());
        out.append(':');
        if (!appendValue(out, it.value(), false, it.key().contains(kBinaryMarker))) {
            out.truncate(mark);
            return false;
        }
    }
    out.append('}');
    return true;
}

bool CompactJson::appendList(QByteArray& out, const QVariantList& list)
{
    const int mark = out.size();
    out.append('[');
    for (int i = 0; i < list.size(); ++i) {
        if (i > 0)
            out.append(',');
        if (!appendValue(out, list.at(i), true, false)) {
            out.truncate(mark);
            return false;
        }
    }
    out.append(']');
    return true;
}

namespace {

bool appendValue(QByteArray& out, const QVariant& value, bool inList, bool binaryKey)
{
    const int type = value.userType();
    if (type == QMetaType::QVariantList)
        return CompactJson::appendList(out, value.toList());
    if (type == QMetaType::QVariantMap)
        return CompactJson::appendMap(out, value.toMap());
    // In a list everything else travels as its text.
    if (inList) {
        CompactJson::appendString(out, value.toString());
    } else if (type == QMetaType::Bool) {
        out.append(value.toBool() ? "true" : "false");
    } else if (type == QMetaType::Double) {
        appendScalarByQt(out, value.toDouble());
    } else if (type == QMetaType::Int || type == QMetaType::UInt) {
        char digits[12];
        const int length = std::snprintf(digits, sizeof digits, "%d", static_cast<qint32>(value.toUInt()));
        out.append(digits, length);
    } else if (binaryKey) {
        out.append('"');
        out.append(value.toByteArray().toBase64());
        out.append('"');
    } else {
        CompactJson::appendString(out, value.toString());
    }
    return true;
}

} // namespace
