#include "ConsoleValue.h"

#include <QJsonValue>

#include <cmath>
#include <limits>

namespace {

bool integerRange(int type, qint64* lo, qint64* hi)
{
    switch (type) {
    case ConsoleValue::Int8: *lo = -128; *hi = 127; return true;
    case ConsoleValue::Int16: *lo = -32768; *hi = 32767; return true;
    case ConsoleValue::Int32:
        *lo = std::numeric_limits<qint32>::min();
        *hi = std::numeric_limits<qint32>::max();
        return true;
    case ConsoleValue::UInt8: *lo = 0; *hi = 255; return true;
    case ConsoleValue::UInt16: *lo = 0; *hi = 65535; return true;
    case ConsoleValue::UInt32:
    case ConsoleValue::UInt32Wide:
        *lo = 0; *hi = std::numeric_limits<quint32>::max();
        return true;
    default:
        return false;
    }
}

// Strict decimal: optional minus sign, digits only, no blanks.
bool parseDecimal(const QString& text, qint64* out)
{
    if (text.isEmpty())
        return false;
    int start = text.at(0) == QLatin1Char('-') ? 1 : 0;
    if (start == text.size())
        return false;
    for (int i = start; i < text.size(); ++i) {
        if (!text.at(i).isDigit() || text.at(i).unicode() > '9')
            return false;
    }
    bool ok = false;
    *out = text.toLongLong(&ok);
    return ok;
}

} // namespace

ConsoleValue ConsoleValue::integer(int type, qint64 value)
{
    ConsoleValue v;
    v.type_ = type;
    v.integer_ = value;
    return v;
}

ConsoleValue ConsoleValue::real(double value)
{
    ConsoleValue v;
    v.type_ = Real;
    v.real_ = value;
    return v;
}

ConsoleValue ConsoleValue::text(const QString& value)
{
    ConsoleValue v;
    v.type_ = Text;
    v.text_ = value;
    return v;
}

bool ConsoleValue::isSignedType(int type)
{
    return type == Int8 || type == Int16 || type == Int32;
}

bool ConsoleValue::isUnsignedType(int type)
{
    return type == UInt8 || type == UInt16 || type == UInt32 || type == UInt32Wide;
}

bool ConsoleValue::isKnownType(int type)
{
    return isSignedType(type) || isUnsignedType(type) || type == Text || type == Real;
}

bool ConsoleValue::fromJson(int type, const QJsonValue& json, bool numericStrings,
                            ConsoleValue* out, QString* error)
{
    if (type == Text) {
        if (!json.isString()) {
            *error = QStringLiteral("text expected");
            return false;
        }
        const QString s = json.toString();
        if (s.toUtf8().size() > MaxTextBytes) {
            *error = QStringLiteral("text longer than %1 bytes").arg(MaxTextBytes);
            return false;
        }
        *out = text(s);
        return true;
    }
    if (type == Real) {
        if (!json.isDouble() || !std::isfinite(json.toDouble())) {
            *error = QStringLiteral("number expected");
            return false;
        }
        *out = real(json.toDouble());
        return true;
    }
    qint64 lo = 0;
    qint64 hi = 0;
    if (!integerRange(type, &lo, &hi)) {
        *error = QStringLiteral("unknown value type %1").arg(type);
        return false;
    }
    qint64 v = 0;
    if (json.isDouble()) {
        const double d = json.toDouble();
        if (!std::isfinite(d) || d != std::floor(d) || d < double(lo) || d > double(hi)) {
            *error = QStringLiteral("integer in %1..%2 expected").arg(lo).arg(hi);
            return false;
        }
        v = qint64(d);
    } else if (numericStrings && json.isString()) {
        if (!parseDecimal(json.toString(), &v)) {
            *error = QStringLiteral("integer expected, got text \"%1\"").arg(json.toString());
            return false;
        }
    } else {
        *error = QStringLiteral("integer expected");
        return false;
    }
    if (v < lo || v > hi) {
        *error = QStringLiteral("integer in %1..%2 expected").arg(lo).arg(hi);
        return false;
    }
    *out = integer(type, v);
    return true;
}

QJsonValue ConsoleValue::toJson() const
{
    if (type_ == Text)
        return QJsonValue(text_);
    if (type_ == Real)
        return QJsonValue(real_);
    return QJsonValue(double(integer_));
}

QJsonValue ConsoleValue::toJsonAs(int type) const
{
    if (type == type_)
        return toJson();
    if (type == Text) {
        if (type_ == Real)
            return QJsonValue(QString::number(real_));
        return QJsonValue(QString::number(integer_));
    }
    if (type_ == Text)
        return QJsonValue(0);
    if (type_ == Real)
        return QJsonValue(real_);
    return QJsonValue(double(integer_));
}

bool ConsoleValue::operator==(const ConsoleValue& other) const
{
    if (type_ != other.type_)
        return false;
    if (type_ == Text)
        return text_ == other.text_;
    if (type_ == Real)
        return real_ == other.real_;
    return integer_ == other.integer_;
}
