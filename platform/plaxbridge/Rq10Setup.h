#pragma once

#include "host/DateTime.h"

#include <QString>

#include <map>
#include <utility>
#include <string>
#include <unordered_map>
#include <vector>

class QByteArray;
class QJsonObject;
class QJsonValue;

// Values of numeric parameters: parameter name -> channel -> value.
// Per parameter, (channel, value) in channel order: a 500-scene show holds
// close to a million of them, so no tree nodes.
using Rq10Values = std::unordered_map<std::string, std::vector<std::pair<int, int>>>;

struct Rq10Scene {
    int number = 0;          // host scene number: 100 times the console's (101 is 1.01)
    std::string title;       // UTF-8
    std::string comment;     // UTF-8
    bool protect = false;
    DateTime time;           // all zero when the setup gives no time
    Rq10Values values;       // applied over the setup's common values
};

// An RQ10 setup as read from its JSON file (docs/rq10-setup-format.md).
// Parsing is strict: every key, name, channel and value is checked, and the
// first problem found is reported with its place in the document.
class Rq10Setup {
public:
    static constexpr int FormatVersion = 1;
    static constexpr int MinSceneNumber = 1;
    static constexpr int MaxSceneNumber = 99998;

    // False with a message in `error` when the file cannot be read or is
    // not a valid setup; `setup` is then left as it was.
    static bool load(const QString& path, Rq10Setup& setup, QString& error);
    static bool parse(const QByteArray& json, Rq10Setup& setup, QString& error);

    std::string model;                           // console model id, e.g. "RQ10"
    std::string description;
    Rq10Values values;                           // common to every scene
    std::vector<Rq10Scene> scenes;               // in file order, numbers unique
    // Per name list of Rq10Families::nameClasses(): channel -> text.
    std::vector<std::map<int, std::string>> names;

private:
    bool parseRoot(const QJsonObject& root, QString& error);
    static bool parseValues(const QJsonValue& value, const QString& where, Rq10Values& out,
                            QString& error);
    static bool parseScene(const QJsonValue& value, const QString& where, Rq10Scene& scene,
                           QString& error);
    bool parseNames(const QJsonValue& value, QString& error);
};
