#include "ConversionReport.h"

#include "ReportHtml.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const char kFxFamily[] = "/FX/FX";
const char kPluginFamily[] = "/VelmarRack/VelmarRack2/PlugIn";

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Addresses formed from catalogue names keep the catalogue's ending; the
// plug-in's own set-up writes (default values, recall safe) have none.
bool isCatalogueAddress(const QString& address)
{
    static const QRegularExpression ending(QStringLiteral("/(MMS|MMSGEQ|MMSDugan|MMSFx)$|/MMS/[^/]+$"));
    return ending.match(address).hasMatch();
}

QJsonObject unitJson(const ConversionReport::Unit& u, int index)
{
    QJsonObject o{{"unit", index}, {"type", u.type}, {"name", u.name}, {"size", u.size},
                  {"values", u.values}, {"dropped", u.dropped}};
    if (u.placed) {
        o.insert("rack", u.rack);
        if (u.slot >= 0)
            o.insert("slot", u.slot);
    }
    if (!u.firstDropped.isEmpty())
        o.insert("firstDropped", u.firstDropped);
    return o;
}

QJsonArray refusalsJson(const QList<ConversionReport::Refusal>& list)
{
    QJsonArray out;
    for (const ConversionReport::Refusal& r : list) {
        QJsonObject o{{"address", r.address}, {"value", r.value}, {"reason", r.reason}};
        if (!r.parameter.isEmpty())
            o.insert("parameter", r.parameter);
        if (r.channel >= 0)
            o.insert("channel", r.channel);
        out.append(o);
    }
    return out;
}

// The racks as the scene left them: the placed units with their racks
// (slots), the units with a type that found no room, and the units without
// a type that were given values all the same.
template <std::size_t N>
QJsonObject racksJson(const std::array<ConversionReport::Unit, N>& units, bool plugins)
{
    QJsonArray placed;
    QJsonArray unplaced;
    QJsonArray untyped;
    for (std::size_t i = 0; i < N; ++i) {
        const ConversionReport::Unit& u = units[i];
        if (!u.known)
            continue;
        if (u.placed)
            placed.append(unitJson(u, int(i)));
        else if (u.size > 0)
            unplaced.append(unitJson(u, int(i)));
        else if (u.values > 0)
            untyped.append(unitJson(u, int(i)));
    }
    QJsonObject o{{"placed", placed}, {"unplaced", unplaced}, {"untyped", untyped}};
    o.insert("racks", plugins ? ConversionReport::VelmarRacks : ConversionReport::FxRacks);
    if (plugins)
        o.insert("slotsPerRack", ConversionReport::SlotsPerRack);
    return o;
}

} // namespace

void ConversionReport::setFiles(const QString& source, const QString& output)
{
    m_source = source;
    m_output = output;
}

void ConversionReport::beginScene(int number, const QString& title)
{
    Scene scene;
    scene.number = number;
    scene.title = title;
    // The plug-in keeps its placement until the scene's first type write.
    if (!m_scenes.isEmpty()) {
        scene.fx = m_scenes.last().fx;
        scene.plugins = m_scenes.last().plugins;
        for (Unit& u : scene.fx)
            u.values = u.dropped = 0, u.firstDropped.clear();
        for (Unit& u : scene.plugins)
            u.values = u.dropped = 0, u.firstDropped.clear();
    }
    m_scenes.append(scene);
    m_inScene = true;
}

void ConversionReport::endScene()
{
    m_inScene = false;
}

ConversionReport::Scene* ConversionReport::current()
{
    return m_inScene && !m_scenes.isEmpty() ? &m_scenes.last() : nullptr;
}

void ConversionReport::written(const std::string& target, int channel)
{
    Scene* scene = current();
    if (!scene)
        return;
    ++scene->written;
    Unit* unit = nullptr;
    if (startsWith(target, kFxFamily) && channel >= 0 && channel < FxUnits)
        unit = &scene->fx[std::size_t(channel)];
    else if (startsWith(target, kPluginFamily) && channel >= 0 && channel < Plugins)
        unit = &scene->plugins[std::size_t(channel)];
    if (!unit)
        return;
    ++unit->values;
    if (unit->known && !unit->placed) {
        ++unit->dropped;
        ++scene->noPlace;
        if (unit->size == 0)
            ++scene->toEmptyUnits;
    }
}

void ConversionReport::leftAlone()
{
    if (Scene* scene = current())
        ++scene->leftAlone;
}

void ConversionReport::notInSource(const std::string& target)
{
    m_notInSource.insert(target);
}

void ConversionReport::warning(const QString& text)
{
    m_warnings.append(text);
}

ConversionReport::Refusal ConversionReport::refusal(const QJsonObject& event) const
{
    Refusal r;
    r.address = event.value("address").toString();
    r.value = event.value("value");
    r.reason = event.value("reason").toString();
    const QStringList parts = r.address.split(QLatin1Char('/'));
    if (parts.size() < 4)
        return r;
    const Scene* scene = m_inScene && !m_scenes.isEmpty() ? &m_scenes.last() : nullptr;
    QStringList name = parts;
    const auto strip = [](const QString& element, int* index) {
        const int colon = element.indexOf(QLatin1Char(':'));
        if (colon >= 0 && index)
            *index = element.mid(colon + 1).toInt();
        return colon >= 0 ? element.left(colon) : element;
    };
    int first = -1;
    int second = -1;
    if (r.address.startsWith(QLatin1String(kFxFamily))) {
        name[2] = strip(parts[2], &first);
        for (int u = 0; scene && u < FxUnits; ++u) {
            const Unit& unit = scene->fx[std::size_t(u)];
            if (unit.placed && first >= unit.rack && first < unit.rack + unit.size)
                r.channel = u;
        }
    } else if (r.address.startsWith(QLatin1String("/VelmarRack/VelmarRack2:"))) {
        name[2] = strip(parts[2], &first);
        name[3] = strip(parts[3], &second) + QLatin1String(":0");
        for (int p = 0; scene && p < Plugins; ++p) {
            const Unit& unit = scene->plugins[std::size_t(p)];
            if (unit.placed && unit.rack == first && second >= unit.slot && second < unit.slot + unit.size)
                r.channel = p;
        }
    } else if (r.address.startsWith(QLatin1String("/Mixing/DuganAutomixer:"))) {
        name[2] = strip(parts[2], nullptr);
        name[3] = strip(parts[3], &r.channel);
    } else {
        name[2] = strip(parts[2], &r.channel);
    }
    r.parameter = name.join(QLatin1Char('/'));
    return r;
}

void ConversionReport::journal(const QJsonObject& event)
{
    const QString kind = event.value("event").toString();
    Scene* scene = current();
    if (kind == QLatin1String("refused")) {
        const Refusal r = refusal(event);
        if (!scene)
            m_otherRefused.append(r);
        else if (isCatalogueAddress(r.address))
            scene->refused.append(r);
        else
            scene->setupRefused.append(r);
        return;
    }
    if (!scene)
        return;
    const bool plugin = event.value("kind").toString() == QLatin1String("plugin");
    const int index = event.value("unit").toInt(-1);
    if (index < 0 || index >= (plugin ? Plugins : FxUnits))
        return;
    Unit& unit = plugin ? scene->plugins[std::size_t(index)] : scene->fx[std::size_t(index)];
    if (kind == QLatin1String("placed") || kind == QLatin1String("unplaced")) {
        unit.known = true;
        unit.placed = kind == QLatin1String("placed");
        unit.type = event.value("type").toInt();
        unit.name = event.value("name").toString();
        unit.size = event.value("size").toInt();
        unit.rack = unit.placed ? event.value("rack").toInt(-1) : -1;
        unit.slot = unit.placed && plugin ? event.value("slot").toInt(-1) : -1;
    } else if (kind == QLatin1String("dropped") && unit.firstDropped.isEmpty()) {
        unit.firstDropped = event.value("parameter").toString();
    }
}

long long ConversionReport::total(long long Scene::*field) const
{
    long long sum = 0;
    for (const Scene& scene : m_scenes)
        sum += scene.*field;
    return sum;
}

long long ConversionReport::totalRefused() const
{
    long long sum = 0;
    for (const Scene& scene : m_scenes)
        sum += scene.refused.size();
    return sum;
}

long long ConversionReport::totalLanded() const
{
    long long sum = 0;
    for (const Scene& scene : m_scenes)
        sum += scene.landed();
    return sum;
}

QJsonObject ConversionReport::toJson() const
{
    QJsonArray scenes;
    for (const Scene& s : m_scenes) {
        scenes.append(QJsonObject{
            {"number", s.number},
            {"scene", QString::asprintf("%d.%02d", s.number / 100, s.number % 100)},
            {"title", s.title},
            {"values", QJsonObject{{"written", s.written},
                                   {"landed", s.landed()},
                                   {"refused", s.refused.size()},
                                   {"noPlace", s.noPlace},
                                   {"toEmptyUnits", s.toEmptyUnits},
                                   {"leftAlone", s.leftAlone}}},
            {"refused", refusalsJson(s.refused)},
            {"setupRefused", refusalsJson(s.setupRefused)},
            {"fx", racksJson(s.fx, false)},
            {"plugins", racksJson(s.plugins, true)},
        });
    }
    QJsonArray notInSource;
    for (const std::string& name : m_notInSource)
        notInSource.append(QString::fromStdString(name));
    return QJsonObject{
        {"format", "qora-conversion-report"},
        {"version", 1},
        {"source", m_source},
        {"output", m_output},
        {"totals", QJsonObject{{"written", total(&Scene::written)},
                               {"landed", totalLanded()},
                               {"refused", totalRefused()},
                               {"noPlace", total(&Scene::noPlace)},
                               {"toEmptyUnits", total(&Scene::toEmptyUnits)},
                               {"leftAlone", total(&Scene::leftAlone)}}},
        {"scenes", scenes},
        {"otherRefused", refusalsJson(m_otherRefused)},
        {"notInSource", notInSource},
        {"warnings", QJsonArray::fromStringList(m_warnings)},
    };
}

void ConversionReport::setConsole(const QVector<SceneView>& views)
{
    m_console = views;
}

bool ConversionReport::write(const QString& path, QString* error) const
{
    const QJsonObject json = toJson();
    const QByteArray bytes = path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)
        ? QJsonDocument(json).toJson(QJsonDocument::Indented)
        : ReportHtml::render(json, m_console).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
