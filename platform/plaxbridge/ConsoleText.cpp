#include "ConsoleText.h"

#include "ConsoleDiff.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

namespace {

QString quoted(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QJsonObject headerJson(const SceneHeader& h)
{
    return {{QStringLiteral("number"), h.number},
            {QStringLiteral("scene"), ConsoleText::sceneNumber(h.number)},
            {QStringLiteral("title"), h.title},
            {QStringLiteral("comment"), h.comment},
            {QStringLiteral("protect"), h.protect},
            {QStringLiteral("date"), h.date}};
}

// Texts are joined, never put through QString::arg: they may hold "%1".
QString headerLine(const SceneHeader& h)
{
    return ConsoleText::sceneNumber(h.number).rightJustified(6) + QStringLiteral("  ") + quoted(h.title)
           + QStringLiteral("  ") + quoted(h.comment) + (h.protect ? QStringLiteral("  protected") : QString())
           + (h.date.isEmpty() ? QString() : QStringLiteral("  ") + h.date);
}

QString row(const QStringList& cells)
{
    static const int kWidths[] = {-4, -20, 6, -3, -4, -2};
    QString line = QStringLiteral("  ");
    for (int i = 0; i < cells.size(); ++i) {
        const int width = i < 6 ? kWidths[i] : 0;
        line += (width < 0 ? cells[i].leftJustified(-width) : cells[i].rightJustified(width)) + QLatin1Char(' ');
    }
    return line.trimmed().prepend(QStringLiteral("  "));
}

QString unitsText(const QVector<RackUnit>& units, bool plugins)
{
    QStringList parts;
    for (const RackUnit& u : units)
        parts.append(ConsoleText::unitPlace(u.unit, plugins) + QLatin1Char(' ') + u.type
                     + (u.library.isEmpty() ? QString() : QLatin1Char(' ') + quoted(u.library)));
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
}

QJsonArray unitsJson(const QVector<RackUnit>& units)
{
    QJsonArray array;
    for (const RackUnit& u : units)
        array.append(QJsonObject{{QStringLiteral("unit"), u.unit},
                                 {QStringLiteral("type"), u.type},
                                 {QStringLiteral("library"), u.library}});
    return array;
}

QString valueText(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("\"\"") : value;
}

} // namespace

QString ConsoleText::sceneNumber(int number)
{
    if (number == ConsoleDiff::CurrentMemory)
        return QStringLiteral("current memory");
    return QString::number(number / 100.0, 'f', 2);
}

QString ConsoleText::unitPlace(int unit, bool plugin)
{
    if (plugin)
        return QString::number(unit / 16 + 1) + QLatin1Char('.') + QString::number(unit % 16 + 1);
    return QString::number(unit + 1);
}

QString ConsoleText::faderText(int level)
{
    return QString::number(level / 100.0, 'f', 1);
}

QString ConsoleText::panText(int pan)
{
    if (pan == 0)
        return QStringLiteral("C");
    return (pan < 0 ? QStringLiteral("L") : QStringLiteral("R")) + QString::number(qAbs(pan));
}

QString ConsoleText::stripName(const Strip& strip)
{
    if (!strip.name.isEmpty() || strip.currentName.isEmpty())
        return strip.name;
    return QLatin1Char('[') + strip.currentName + QLatin1Char(']');
}

QString ConsoleText::showText(const QString& file, const QVector<SceneHeader>& scenes,
                              const QVector<SceneView>& views)
{
    QString text;
    QTextStream out(&text);
    out << "KX9 console file " << file << "\n" << scenes.size() << (scenes.size() == 1 ? " scene" : " scenes")
        << "\n";
    for (const SceneHeader& h : scenes)
        out << headerLine(h) << "\n";
    bool fromCurrent = false;
    for (const SceneView& view : views) {
        out << "\n"
            << (view.header.number == SceneHeader::CurrentMemory ? QStringLiteral("current memory")
                                                                  : QStringLiteral("scene ") + headerLine(view.header).trimmed())
            << "\n";
        for (const StripGroup& group : view.groups) {
            out << row({group.label, QStringLiteral("name"), QStringLiteral("fader"), QStringLiteral("on"),
                        QStringLiteral("pan"), QStringLiteral("EQ"), QStringLiteral("dynamics")})
                << "\n";
            for (const Strip& s : group.strips) {
                fromCurrent = fromCurrent || (s.name.isEmpty() && !s.currentName.isEmpty());
                out << row({QString::number(s.channel + 1), stripName(s), faderText(s.fader),
                            s.on ? QStringLiteral("on") : QStringLiteral("off"),
                            s.hasPan ? panText(s.pan) : QStringLiteral("-"),
                            !s.hasProcessing ? QStringLiteral("-") : s.eq ? QStringLiteral("EQ") : QString(),
                            !s.hasProcessing ? QStringLiteral("-") : s.dynamics.join(QStringLiteral(", "))})
                    << "\n";
            }
        }
        out << "  FX        " << unitsText(view.fx, false) << "\n";
        out << "  plug-ins  " << unitsText(view.plugins, true) << "\n";
    }
    if (fromCurrent)
        out << "\n[name]: the scene holds no name; the current memory's name is shown\n";
    out.flush();
    return text;
}

QJsonObject ConsoleText::showJson(const QString& file, const QVector<SceneHeader>& scenes,
                                  const QVector<SceneView>& views)
{
    QJsonArray list;
    for (const SceneHeader& h : scenes)
        list.append(headerJson(h));
    QJsonArray shown;
    for (const SceneView& view : views) {
        QJsonObject scene = headerJson(view.header);
        QJsonObject strips;
        for (const StripGroup& group : view.groups) {
            QJsonArray array;
            for (const Strip& s : group.strips) {
                QJsonObject strip{{QStringLiteral("channel"), s.channel},
                                  {QStringLiteral("name"), s.name},
                                  {QStringLiteral("currentName"), s.currentName},
                                  {QStringLiteral("fader"), s.fader},
                                  {QStringLiteral("on"), s.on}};
                if (s.hasPan)
                    strip.insert(QStringLiteral("pan"), s.pan);
                if (s.hasProcessing) {
                    strip.insert(QStringLiteral("eq"), s.eq);
                    strip.insert(QStringLiteral("dynamics"), QJsonArray::fromStringList(s.dynamics));
                }
                array.append(strip);
            }
            strips.insert(group.kind, array);
        }
        scene.insert(QStringLiteral("strips"), strips);
        scene.insert(QStringLiteral("fx"), unitsJson(view.fx));
        scene.insert(QStringLiteral("plugins"), unitsJson(view.plugins));
        shown.append(scene);
    }
    return {{QStringLiteral("format"), QStringLiteral("qora-console-view")},
            {QStringLiteral("version"), 1},
            {QStringLiteral("file"), file},
            {QStringLiteral("scenes"), list},
            {QStringLiteral("shown"), shown}};
}

QString ConsoleText::diffText(const QString& a, const QString& b, const ConsoleDiff& diff)
{
    QString text;
    QTextStream out(&text);
    out << "A " << a << "\nB " << b << "\n";
    for (const SceneHeader& h : diff.onlyA())
        out << "only in A: scene " << headerLine(h).trimmed() << "\n";
    for (const SceneHeader& h : diff.onlyB())
        out << "only in B: scene " << headerLine(h).trimmed() << "\n";
    int scene = 0;
    bool first = true;
    for (const Difference& d : diff.differences()) {
        if (first || d.scene != scene)
            out << (d.scene == ConsoleDiff::CurrentMemory ? QStringLiteral("current memory")
                                                          : QStringLiteral("scene ") + sceneNumber(d.scene))
                << "\n";
        first = false;
        scene = d.scene;
        out << "  " << d.parameter;
        if (d.channel >= 0)
            out << "  " << d.channel + 1 << (d.channelName.isEmpty() ? QString() : QLatin1Char(' ') + quoted(d.channelName));
        out << ": " << valueText(d.a) << " | " << valueText(d.b) << "\n";
    }
    out << (diff.equal() ? QStringLiteral("equal: %1 scenes compared\n").arg(diff.comparedScenes())
                         : QStringLiteral("%1 differences, %2 scenes only in A, %3 only in B (%4 scenes compared)\n")
                               .arg(diff.differences().size())
                               .arg(diff.onlyA().size())
                               .arg(diff.onlyB().size())
                               .arg(diff.comparedScenes()));
    out.flush();
    return text;
}

QJsonObject ConsoleText::diffJson(const QString& a, const QString& b, const ConsoleDiff& diff)
{
    const auto headers = [](const QVector<SceneHeader>& scenes) {
        QJsonArray array;
        for (const SceneHeader& h : scenes)
            array.append(headerJson(h));
        return array;
    };
    QJsonArray differences;
    for (const Difference& d : diff.differences())
        differences.append(QJsonObject{{QStringLiteral("scene"), d.scene},
                                       {QStringLiteral("parameter"), d.parameter},
                                       {QStringLiteral("channel"), d.channel},
                                       {QStringLiteral("channelName"), d.channelName},
                                       {QStringLiteral("a"), d.a},
                                       {QStringLiteral("b"), d.b}});
    return {{QStringLiteral("format"), QStringLiteral("qora-console-diff")},
            {QStringLiteral("version"), 1},
            {QStringLiteral("a"), a},
            {QStringLiteral("b"), b},
            {QStringLiteral("equal"), diff.equal()},
            {QStringLiteral("comparedScenes"), diff.comparedScenes()},
            {QStringLiteral("onlyA"), headers(diff.onlyA())},
            {QStringLiteral("onlyB"), headers(diff.onlyB())},
            {QStringLiteral("differences"), differences}};
}
