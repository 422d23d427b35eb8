#include "ConsoleDiff.h"

#include "ConsoleReader.h"
#include "ValueNames.h"

ConsoleDiff::ConsoleDiff(const std::vector<std::string>& parameters, std::vector<int> channelMins,
                         const ValueNames& valueNames)
    : m_parameters(parameters)
    , m_channelMins(std::move(channelMins))
    , m_valueNames(valueNames)
{
}

void ConsoleDiff::onlyIn(bool inA, const SceneHeader& scene)
{
    (inA ? m_onlyA : m_onlyB).append(scene);
}

void ConsoleDiff::compareInformation(const SceneHeader& a, const SceneHeader& b)
{
    ++m_compared;
    const auto item = [&](const char* name, const QString& x, const QString& y) {
        if (x != y)
            m_differences.append(Difference{a.number, QString::fromLatin1(name), -1, QString(), x, y});
    };
    const auto flag = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    item("title", a.title, b.title);
    item("comment", a.comment, b.comment);
    item("protect", flag(a.protect), flag(b.protect));
    item("date", a.date, b.date);
}

void ConsoleDiff::compareValues(const SceneValues& a, const SceneValues& b)
{
    compareNames(a.header.number, a.names, b.names);
    for (std::size_t p = 0; p < m_parameters.size() && p < a.values.size() && p < b.values.size(); ++p) {
        const std::vector<int>& x = a.values[p];
        const std::vector<int>& y = b.values[p];
        if (x == y)
            continue;
        const std::string& name = m_parameters[p];
        const int list = ConsoleReader::nameListOf(name);
        const QStringList sources[] = {b.names.value(list), a.names.value(list), m_currentB.value(list),
                                       m_currentA.value(list)};
        for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
            if (x[i] == y[i] || x[i] == SceneValues::NotRead || y[i] == SceneValues::NotRead)
                continue;
            const int channel = m_channelMins[p] + static_cast<int>(i);
            // The scene's own name, else the current memory's.
            QString channelName;
            for (const QStringList& names : sources) {
                if (channelName.isEmpty())
                    channelName = names.value(channel);
            }
            m_differences.append(Difference{a.header.number, QString::fromStdString(name), channel, channelName,
                                            m_valueNames.text(name, x[i]), m_valueNames.text(name, y[i])});
        }
    }
}

void ConsoleDiff::compareNames(int scene, const QVector<QStringList>& a, const QVector<QStringList>& b)
{
    if (scene == CurrentMemory) {
        m_currentA = a;
        m_currentB = b;
    }
    for (int list = 0; list < a.size() && list < b.size(); ++list) {
        const QStringList& x = a[list];
        const QStringList& y = b[list];
        for (int channel = 0; channel < qMax(x.size(), y.size()); ++channel) {
            if (x.value(channel) != y.value(channel))
                m_differences.append(Difference{scene, ConsoleReader::nameListHead(list), channel, QString(),
                                                x.value(channel), y.value(channel)});
        }
    }
}
