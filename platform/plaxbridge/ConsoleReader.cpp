#include "ConsoleReader.h"

#include "DescriptorList.h"
#include "PluginModule.h"
#include "host/DateTime.h"
#include "host/IMixer.h"
#include "host/IParameter.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <QUuid>

namespace {

// A scene number no converted show uses: stored before a load and given a
// title of its own, it survives exactly when the editor did not load.
constexpr int kSentinelScene = 99998;
// Where the plug-in parks the memory before a session's first recall: a file
// saved by a host session that recalled a scene holds it, not as data.
constexpr int kParkingScene = 99999;

// The name lists of the strips, in the plug-in's list order.
const char* const kNameHeads[] = {
    "/Mixing/InputChannel/Label:0/Name:0/MMS",
    "/Mixing/Matrix/Label:0/Name:0/MMS",
    "/Mixing/Mix/Label:0/Name:0/MMS",
    "/Mixing/Stereo/Label:0/Name:0/MMS",
    "/Mixing/DCA/Label:0/Name:0/MMS",
    "/Mixing/Mute/Label:0/Name:0/MMS",
    "/FX/FX/Param:0/LibraryName:0/MMS",
    "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS",
    "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS",
};

struct StripKind {
    const char* kind;
    const char* label;
    int nameList;
    const char* pan;       // null: no pan
    int dynamics;          // dynamics units; 0 also means no EQ
};

const StripKind kStripKinds[] = {
    {"InputChannel", "IN", 0, "/Mixing/InputChannel/ToStereo:0/Pan/MMS", 2},
    {"Mix", "MIX", 2, "/Mixing/Mix/ToStereo/Pan/MMS", 1},
    {"Matrix", "MTX", 1, "/Mixing/Matrix/Out/Balance/MMS", 1},
    {"Stereo", "ST", 3, "/Mixing/Stereo/Out/Balance/MMS", 1},
    {"DCA", "DCA", 4, nullptr, 0},
};

const char kFxType[] = "/FX/FX/Param:0/PluginName:0/MMS";
const char kPluginType[] = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS";
constexpr int kFxNames = 6;
constexpr int kPluginNamesL = 7;
constexpr int kPluginNamesR = 8;

QString dateText(const DateTime& t)
{
    if (t.year == 0 && t.month == 0 && t.day == 0 && t.hour == 0 && t.minute == 0 && t.second == 0)
        return QString();
    const QDateTime time(QDate(t.year + 2000, t.month + 1, t.day + 1), QTime(t.hour, t.minute, t.second));
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

ConsoleReader::ConsoleReader(QString programDirectory)
    : m_directory(std::move(programDirectory))
{
}

ConsoleReader::ConsoleReader(QString programDirectory, IMixer* mixer)
    : m_directory(std::move(programDirectory))
    , m_mixer(mixer)
    , m_ownsMixer(false)
{
}

ConsoleReader::~ConsoleReader()
{
    for (IParameter* object : m_objects) {
        if (object)
            object->Destroy();
    }
    if (m_mixer && m_ownsMixer)
        m_mixer->Destroy();
}

bool ConsoleReader::start(QString& error)
{
    const QDir dir(m_directory);
    if (!DescriptorList::load(dir.filePath(DescriptorList::RelativePath), m_parameters, error)
        || !m_valueNames.load(dir.filePath(ValueNames::RelativePath), error))
        return false;
    if (!m_mixer) {
        m_module = std::make_unique<PluginModule>(m_directory);
        m_mixer = m_module->create(error);
        if (!m_mixer)
            return false;
    }
    m_ranges.resize(m_parameters.size());
    m_objects.assign(m_parameters.size(), nullptr);
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        Range& r = m_ranges[i];
        int subMax = 0;
        m_mixer->LookupParameterRanges(m_parameters[i], r.channelMin, r.channelMax, r.sub, subMax);
    }
    return true;
}

bool ConsoleReader::load(const QString& path, QString& error)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    std::string sentinel = "not loaded " + QUuid::createUuid().toString().toStdString();
    m_mixer->StoreCurrentSceneMemory(kSentinelScene);
    m_mixer->SetTitle(sentinel, kSentinelScene);
    // The editor resolves a relative path against its own folder.
    QString absolute = file.absoluteFilePath();
    m_mixer->LoadData(absolute);
    if (m_mixer->GetTitle(kSentinelScene) == sentinel) {
        error = QStringLiteral("the KX9 editor did not load %1 (not a KX9 console file?)").arg(path);
        return false;
    }
    return true;
}

QVector<SceneHeader> ConsoleReader::scenes()
{
    std::vector<unsigned int> numbers(501, 0);
    unsigned int count = static_cast<unsigned int>(numbers.size());
    m_mixer->GetSceneList(count, numbers.data());
    QVector<SceneHeader> headers;
    // Entry 0 is always scene 0, the console's initial scene, not stored.
    for (unsigned int i = 1; i < count && i < numbers.size(); ++i) {
        SceneHeader h;
        h.number = static_cast<int>(numbers[i]);
        if (h.number == kParkingScene)
            continue;
        h.title = QString::fromStdString(m_mixer->GetTitle(h.number));
        h.comment = QString::fromStdString(m_mixer->GetComment(h.number));
        h.protect = m_mixer->GetProtect(h.number);
        h.date = dateText(m_mixer->GetDateTime(h.number));
        headers.append(h);
    }
    return headers;
}

QStringList ConsoleReader::nameList(int index)
{
    QStringList list;
    m_mixer->GetNameParameterList(index, list);
    if (!list.isEmpty())
        list.removeFirst();
    return list;
}

QVector<QStringList> ConsoleReader::currentNames()
{
    // The effect units' names are read where the units sit, which the
    // plug-in learns from its first read of an effect value.
    readAll(kFxType);
    QVector<QStringList> names;
    for (int i = 0; i < NameLists; ++i)
        names.append(nameList(i));
    return names;
}

int ConsoleReader::indexOf(const std::string& name) const
{
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        if (m_parameters[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<int> ConsoleReader::readAt(std::size_t index, const std::vector<bool>& only)
{
    if (!m_objects[index])
        m_objects[index] = m_mixer->CreateParameter(m_parameters[index]);
    const Range& r = m_ranges[index];
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(r.channelMax - r.channelMin + 1));
    // All channels of one parameter in a row: the plug-in answers them from
    // the one block read of the first.
    for (int channel = r.channelMin; channel <= r.channelMax; ++channel) {
        const std::size_t i = static_cast<std::size_t>(channel - r.channelMin);
        values.push_back(only.empty() || (i < only.size() && only[i]) ? m_mixer->GetValue(m_objects[index], channel, r.sub)
                                                                      : SceneValues::NotRead);
    }
    return values;
}

std::vector<int> ConsoleReader::readAll(const std::string& name)
{
    const int index = indexOf(name);
    return index < 0 ? std::vector<int>() : readAt(static_cast<std::size_t>(index));
}

SceneView ConsoleReader::view(const SceneHeader& header, const QVector<QStringList>& currentNames)
{
    if (header.number != SceneHeader::CurrentMemory)
        m_mixer->SetCurrentSceneMemory(header.number);
    SceneView view;
    view.header = header;
    const auto at = [](const std::vector<int>& values, int i) {
        return i < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(i)] : 0;
    };
    for (const StripKind& kind : kStripKinds) {
        const std::string base = std::string("/Mixing/") + kind.kind + "/";
        const std::vector<int> level = readAll(base + "Fader/Level/MMS");
        const std::vector<int> on = readAll(base + "Fader/On/MMS");
        const std::vector<int> pan = kind.pan ? readAll(kind.pan) : std::vector<int>();
        std::vector<int> eqSelect, eqOn[2];
        if (kind.dynamics > 0) {
            eqSelect = readAll(base + "PEQ/Select/MMS");
            for (int bank = 0; bank < 2; ++bank)
                eqOn[bank] = readAll(base + "PEQ:0/Bank:" + std::to_string(bank) + "/On/MMS");
        }
        struct Dynamics {
            std::string typeName[2];
            std::vector<int> select, on[2], type[2];
        };
        std::vector<Dynamics> dynamics(static_cast<std::size_t>(kind.dynamics));
        for (int d = 0; d < kind.dynamics; ++d) {
            Dynamics& unit = dynamics[static_cast<std::size_t>(d)];
            const std::string prefix = base + "Dynamics:" + std::to_string(d) + "/";
            unit.select = readAll(prefix + "Select/MMS");
            for (int bank = 0; bank < 2; ++bank) {
                const std::string bankPrefix = prefix + "Bank:" + std::to_string(bank) + "/";
                unit.on[bank] = readAll(bankPrefix + "On/MMS");
                unit.typeName[bank] = bankPrefix + "Type/MMS";
                unit.type[bank] = readAll(unit.typeName[bank]);
            }
        }
        const QStringList names = nameList(kind.nameList);
        const QStringList current = currentNames.value(kind.nameList);

        StripGroup group;
        group.kind = QString::fromLatin1(kind.kind);
        group.label = QString::fromLatin1(kind.label);
        for (int i = 0; i < static_cast<int>(level.size()); ++i) {
            Strip strip;
            strip.channel = i;
            strip.name = names.value(i);
            strip.currentName = current.value(i);
            strip.fader = at(level, i);
            strip.on = at(on, i) != 0;
            strip.hasPan = kind.pan != nullptr;
            strip.pan = at(pan, i);
            strip.hasProcessing = kind.dynamics > 0;
            strip.eq = strip.hasProcessing && at(eqOn[at(eqSelect, i) == 1 ? 1 : 0], i) != 0;
            for (const Dynamics& unit : dynamics) {
                const int bank = at(unit.select, i) == 1 ? 1 : 0;
                if (at(unit.on[bank], i) != 0)
                    strip.dynamics.append(m_valueNames.text(unit.typeName[bank], at(unit.type[bank], i)));
            }
            group.strips.append(strip);
        }
        view.groups.append(group);
    }

    const auto units = [&](const char* typeName, QVector<RackUnit>& out, const QStringList& left,
                           const QStringList& right) {
        const std::vector<int> types = readAll(typeName);
        for (int unit = 0; unit < static_cast<int>(types.size()); ++unit) {
            const QString type = m_valueNames.text(typeName, types[static_cast<std::size_t>(unit)]);
            if (type.isEmpty())
                continue;
            QStringList library;
            for (const QString& name : {left.value(unit), right.value(unit)}) {
                if (!name.isEmpty() && !library.contains(name))
                    library.append(name);
            }
            out.append(RackUnit{unit, type, library.join(QStringLiteral(" / "))});
        }
    };
    readAll(kFxType);   // places the units before their names are read
    units(kFxType, view.fx, nameList(kFxNames), QStringList());
    readAll(kPluginType);
    units(kPluginType, view.plugins, nameList(kPluginNamesL), nameList(kPluginNamesR));
    return view;
}

SceneValues ConsoleReader::values(const SceneHeader& header)
{
    m_mixer->SetCurrentSceneMemory(header.number);
    SceneValues values;
    values.header = header;
    values.values.resize(m_parameters.size());
    // Each plug-in value is a read of its own: only the slots that hold a
    // plug-in are read (the console's racks hold a few).
    std::vector<bool> typed;
    for (int type : readAll(kPluginType))
        typed.push_back(!m_valueNames.text(kPluginType, type).isEmpty());
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        const std::string& name = m_parameters[i];
        if (isNameParameter(name))
            continue;
        const bool plugin = startsWith(name, "/VelmarRack/VelmarRack2/") && name != kPluginType;
        values.values[i] = readAt(i, plugin ? typed : std::vector<bool>());
    }
    for (int list = 0; list < NameLists; ++list)
        values.names.append(nameList(list));
    return values;
}

int ConsoleReader::nameListOf(const std::string& parameter)
{
    static const char* const kPrefixes[] = {
        "/Mixing/InputChannel/", "/Mixing/Matrix/", "/Mixing/Mix/", "/Mixing/Stereo/",
        "/Mixing/DCA/",          "/Mixing/Mute/",   "/FX/FX/",      "/VelmarRack/VelmarRack2/",
    };
    for (int i = 0; i < 8; ++i) {
        if (startsWith(parameter, kPrefixes[i]))
            return i;
    }
    return -1;
}

bool ConsoleReader::isNameParameter(const std::string& parameter)
{
    return parameter.find("/Label:0/Name:0/") != std::string::npos
        || parameter.find("/LibraryName:0/") != std::string::npos;
}

QString ConsoleReader::nameListHead(int index)
{
    return index >= 0 && index < NameLists ? QString::fromLatin1(kNameHeads[index]) : QString();
}
