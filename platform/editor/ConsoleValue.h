#pragma once

#include <QString>
#include <QtGlobal>

class QJsonValue;

// One value of the console memory, tagged with the editor's value-type code:
// 1, 2, 4 signed; 8, 16, 32, 256 unsigned; 64 text; 128 real.
class ConsoleValue {
public:
    enum TypeCode {
        Int8 = 1, Int16 = 2, Int32 = 4,
        UInt8 = 8, UInt16 = 16, UInt32 = 32, UInt32Wide = 256,
        Text = 64, Real = 128
    };
    // Texts longer than this many UTF-8 bytes are refused; the plug-in's
    // variant could not hold them.
    static constexpr int MaxTextBytes = 1023;

    ConsoleValue() = default;
    static ConsoleValue integer(int type, qint64 value);
    static ConsoleValue real(double value);
    static ConsoleValue text(const QString& value);

    static bool isKnownType(int type);
    static bool isSignedType(int type);
    static bool isUnsignedType(int type);

    // Converts a received JSON value into a value of `type`. Integer types
    // take a JSON number without fraction inside the type's range and, when
    // `numericStrings` is set, also a decimal integer written as a string.
    // Texts take JSON strings only. Returns false with a reason otherwise.
    static bool fromJson(int type, const QJsonValue& json, bool numericStrings,
                         ConsoleValue* out, QString* error);

    int type() const { return type_; }
    bool isText() const { return type_ == Text; }
    qint64 integerValue() const { return integer_; }
    double realValue() const { return real_; }
    const QString& textValue() const { return text_; }

    // The value as it travels in "prmValue": texts as strings, the rest as numbers.
    QJsonValue toJson() const;
    // The value re-expressed for another type code (fault injection): numbers
    // become their text for 64, texts become 0 for numeric codes.
    QJsonValue toJsonAs(int type) const;

    bool operator==(const ConsoleValue& other) const;
    bool operator!=(const ConsoleValue& other) const { return !(*this == other); }

private:
    int type_ = Int32;
    qint64 integer_ = 0;
    double real_ = 0.0;
    QString text_;
};
