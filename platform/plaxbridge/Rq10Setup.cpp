#include "Rq10Setup.h"

#include "Rq10Families.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>
#include <QStringList>

#include <cmath>
#include <limits>

namespace {

const char kFormat[] = "rq10-setup";

QString quoted(const QString& text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

bool checkKeys(const QJsonObject& object, const QStringList& allowed, const QString& where,
               QString& error)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!allowed.contains(it.key())) {
            error = QStringLiteral("%1: unknown key %2 (allowed: %3)")
                        .arg(where, quoted(it.key()), allowed.join(QStringLiteral(", ")));
            return false;
        }
    }
    return true;
}

// A JSON number that is an integer within the 32-bit range.
bool toInt(const QJsonValue& value, int& out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (!std::isfinite(d) || std::floor(d) != d || d < std::numeric_limits<int>::min()
        || d > std::numeric_limits<int>::max())
        return false;
    out = static_cast<int>(d);
    return true;
}

bool parseChannelKey(const QString& key, int channels, int& first, int& last)
{
    const QStringList parts = key.split(QLatin1Char('-'));
    if (parts.size() > 2)
        return false;
    bool ok1 = false;
    bool ok2 = true;
    // Digits only: no sign, no blanks, no "+".
    for (const QString& part : parts) {
        if (part.isEmpty())
            return false;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
    }
    first = parts[0].toInt(&ok1);
    last = parts.size() == 2 ? parts[1].toInt(&ok2) : first;
    return ok1 && ok2 && first <= last && first >= 0 && last < channels;
}

bool parseTime(const QJsonValue& value, DateTime& out)
{
    if (!value.isString())
        return false;
    const QString text = value.toString();
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        return false;
    const QDate d = dt.date();
    const QTime t = dt.time();
    if (d.year() < 2000 || d.year() > 9999)
        return false;
    out.year = static_cast<short>(d.year() - 2000);
    out.month = static_cast<short>(d.month() - 1);
    out.day = static_cast<short>(d.day() - 1);
    out.hour = static_cast<short>(t.hour());
    out.minute = static_cast<short>(t.minute());
    out.second = static_cast<short>(t.second());
    return true;
}

} // namespace

bool Rq10Setup::load(const QString& path, Rq10Setup& setup, QString& error)
{
    QFile file(path);
    if (!file.exists()) {
        error = QStringLiteral("%1: no such file").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    QString problem;
    if (!parse(data, setup, problem)) {
        error = QStringLiteral("%1: %2").arg(path, problem);
        return false;
    }
    return true;
}

bool Rq10Setup::parse(const QByteArray& json, Rq10Setup& setup, QString& error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not valid JSON: %1 at byte %2")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return false;
    }
    if (!doc.isObject()) {
        error = QStringLiteral("not an RQ10 setup: the document is not a JSON object");
        return false;
    }
    Rq10Setup parsed;
    if (!parsed.parseRoot(doc.object(), error))
        return false;
    setup = std::move(parsed);
    return true;
}

bool Rq10Setup::parseRoot(const QJsonObject& root, QString& error)
{
    const QJsonValue format = root.value(QStringLiteral("format"));
    if (format.toString() != QLatin1String(kFormat)) {
        error = format.isUndefined()
                    ? QStringLiteral("not an RQ10 setup: missing \"format\": \"%1\"").arg(kFormat)
                    : QStringLiteral("not an RQ10 setup: \"format\" must be \"%1\"").arg(kFormat);
        return false;
    }
    if (!checkKeys(root,
                   {QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("model"),
                    QStringLiteral("description"), QStringLiteral("values"),
                    QStringLiteral("scenes"), QStringLiteral("names")},
                   QStringLiteral("top level"), error))
        return false;

    int version = 0;
    if (!toInt(root.value(QStringLiteral("version")), version) || version != FormatVersion) {
        error = QStringLiteral("\"version\" must be %1").arg(FormatVersion);
        return false;
    }
    const QJsonValue modelValue = root.value(QStringLiteral("model"));
    if (!modelValue.isString() || modelValue.toString().isEmpty()) {
        error = QStringLiteral("\"model\" must be a non-empty text (the console model id)");
        return false;
    }
    model = modelValue.toString().toStdString();
    const QJsonValue descriptionValue = root.value(QStringLiteral("description"));
    if (!descriptionValue.isUndefined()) {
        if (!descriptionValue.isString()) {
            error = QStringLiteral("\"description\" must be a text");
            return false;
        }
        description = descriptionValue.toString().toStdString();
    }

    const QJsonValue valuesValue = root.value(QStringLiteral("values"));
    if (!valuesValue.isUndefined()
        && !parseValues(valuesValue, QStringLiteral("values"), values, error))
        return false;

    const QJsonValue scenesValue = root.value(QStringLiteral("scenes"));
    if (!scenesValue.isArray() || scenesValue.toArray().isEmpty()) {
        error = QStringLiteral("\"scenes\" must be a non-empty array");
        return false;
    }
    const QJsonArray sceneArray = scenesValue.toArray();
    QSet<int> numbers;
    for (int i = 0; i < sceneArray.size(); ++i) {
        Rq10Scene scene;
        const QString where = QStringLiteral("scenes[%1]").arg(i);
        if (!parseScene(sceneArray.at(i), where, scene, error))
            return false;
        if (numbers.contains(scene.number)) {
            error = QStringLiteral("%1: scene number %2 occurs twice").arg(where).arg(scene.number);
            return false;
        }
        numbers.insert(scene.number);
        scenes.push_back(std::move(scene));
    }

    names.assign(Rq10Families::NameClassCount, {});
    const QJsonValue namesValue = root.value(QStringLiteral("names"));
    if (!namesValue.isUndefined() && !parseNames(namesValue, error))
        return false;
    return true;
}

bool Rq10Setup::parseValues(const QJsonValue& value, const QString& where, Rq10Values& out,
                            QString& error)
{
    if (!value.isObject()) {
        error = QStringLiteral("%1: must be an object of parameter names").arg(where);
        return false;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string name = it.key().toStdString();
        const QString at = QStringLiteral("%1[%2]").arg(where, quoted(it.key()));
        const Rq10Family* family = Rq10Families::find(name);
        if (!family) {
            error = QStringLiteral("%1: not a numeric parameter of the RQ10").arg(at);
            return false;
        }
        std::map<int, int> channels;
        const QJsonValue given = it.value();
        int number = 0;
        if (toInt(given, number)) {
            for (int ch = 0; ch < family->channels; ++ch)
                channels[ch] = number;
        } else if (given.isArray()) {
            const QJsonArray array = given.toArray();
            if (array.size() > family->channels) {
                error = QStringLiteral("%1: %2 values for %3 channels")
                            .arg(at).arg(array.size()).arg(family->channels);
                return false;
            }
            for (int ch = 0; ch < array.size(); ++ch) {
                if (array.at(ch).isNull())
                    continue;
                if (!toInt(array.at(ch), number)) {
                    error = QStringLiteral("%1[%2]: not a 32-bit integer").arg(at).arg(ch);
                    return false;
                }
                channels[ch] = number;
            }
        } else if (given.isObject()) {
            const QJsonObject byChannel = given.toObject();
            for (auto c = byChannel.begin(); c != byChannel.end(); ++c) {
                int first = 0;
                int last = 0;
                if (!parseChannelKey(c.key(), family->channels, first, last)) {
                    error = QStringLiteral("%1: %2 is not a channel or range within 0..%3")
                                .arg(at, quoted(c.key()))
                                .arg(family->channels - 1);
                    return false;
                }
                if (!toInt(c.value(), number)) {
                    error = QStringLiteral("%1[%2]: not a 32-bit integer").arg(at, quoted(c.key()));
                    return false;
                }
                for (int ch = first; ch <= last; ++ch)
                    channels[ch] = number;
            }
        } else {
            error = QStringLiteral("%1: must be an integer, an array or an object of channels")
                        .arg(at);
            return false;
        }
        out[name].assign(channels.begin(), channels.end());
    }
    return true;
}

bool Rq10Setup::parseScene(const QJsonValue& value, const QString& where, Rq10Scene& scene,
                           QString& error)
{
    if (!value.isObject()) {
        error = QStringLiteral("%1: must be an object").arg(where);
        return false;
    }
    const QJsonObject object = value.toObject();
    if (!checkKeys(object,
                   {QStringLiteral("number"), QStringLiteral("title"), QStringLiteral("comment"),
                    QStringLiteral("protect"), QStringLiteral("time"), QStringLiteral("values")},
                   where, error))
        return false;
    if (!toInt(object.value(QStringLiteral("number")), scene.number)
        || scene.number < MinSceneNumber || scene.number > MaxSceneNumber) {
        error = QStringLiteral("%1: \"number\" must be an integer from %2 to %3")
                    .arg(where)
                    .arg(MinSceneNumber)
                    .arg(MaxSceneNumber);
        return false;
    }
    const auto readText = [&](const QString& key, std::string& out) {
        const QJsonValue text = object.value(key);
        if (text.isUndefined())
            return true;
        if (!text.isString()) {
            error = QStringLiteral("%1: %2 must be a text").arg(where, quoted(key));
            return false;
        }
        out = text.toString().toStdString();
        return true;
    };
    if (!readText(QStringLiteral("title"), scene.title)
        || !readText(QStringLiteral("comment"), scene.comment))
        return false;
    const QJsonValue protect = object.value(QStringLiteral("protect"));
    if (!protect.isUndefined()) {
        if (!protect.isBool()) {
            error = QStringLiteral("%1: \"protect\" must be true or false").arg(where);
            return false;
        }
        scene.protect = protect.toBool();
    }
    const QJsonValue time = object.value(QStringLiteral("time"));
    if (!time.isUndefined() && !time.isNull() && !parseTime(time, scene.time)) {
        error = QStringLiteral("%1: \"time\" must be a date and time like "
                               "\"2024-05-17T19:30:00\", year 2000 or later")
                    .arg(where);
        return false;
    }
    const QJsonValue values = object.value(QStringLiteral("values"));
    if (!values.isUndefined()
        && !parseValues(values, where + QStringLiteral(".values"), scene.values, error))
        return false;
    return true;
}

bool Rq10Setup::parseNames(const QJsonValue& value, QString& error)
{
    if (!value.isObject()) {
        error = QStringLiteral("\"names\" must be an object of name lists");
        return false;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString at = QStringLiteral("names[%1]").arg(quoted(it.key()));
        const int index = Rq10Families::findNameClass(it.key().toStdString());
        if (index < 0) {
            error = QStringLiteral("%1: not a name list of the RQ10").arg(at);
            return false;
        }
        const int channels = Rq10Families::nameClasses()[index].channels;
        if (!it.value().isArray()) {
            error = QStringLiteral("%1: must be an array of texts").arg(at);
            return false;
        }
        const QJsonArray array = it.value().toArray();
        if (array.size() > channels) {
            error = QStringLiteral("%1: %2 names for %3 channels").arg(at).arg(array.size()).arg(channels);
            return false;
        }
        for (int ch = 0; ch < array.size(); ++ch) {
            if (array.at(ch).isNull())
                continue;
            if (!array.at(ch).isString()) {
                error = QStringLiteral("%1[%2]: not a text").arg(at).arg(ch);
                return false;
            }
            names[index][ch] = array.at(ch).toString().toStdString();
        }
    }
    return true;
}
