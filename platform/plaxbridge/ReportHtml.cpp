#include "ReportHtml.h"

#include "ConsolePage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QStringList>

namespace {

const char kStyle[] =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.5em}h3{font-size:1.05em;margin-top:1.2em}"
    "table{border-collapse:collapse;margin:0.4em 0}"
    "th,td{border:1px solid #bbb;padding:3px 6px;text-align:left;vertical-align:top}"
    "td.n{text-align:right}th{background-color:#eee}"
    "td.unit{background-color:#cfe3ff;text-align:center}"
    "td.free{background-color:#f6f6f6;color:#999;text-align:center;white-space:nowrap;min-width:1.6em}"
    "td.lost{background-color:#ffd6cc}td.bad{color:#a00}"
    "p.note{color:#555}";

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString valueText(const QJsonValue& value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

QString numberCell(const QJsonObject& values, const char* key)
{
    return QStringLiteral("<td class=\"n\" data-key=\"%1\">%2</td>")
        .arg(QLatin1String(key))
        .arg(values.value(QLatin1String(key)).toVariant().toLongLong());
}

QString unitLabel(const QJsonObject& unit, bool plugin)
{
    const QString name = unit.value("name").toString();
    return QStringLiteral("%1 %2<br/>%3 (type %4)")
        .arg(plugin ? QStringLiteral("plug-in") : QStringLiteral("unit"))
        .arg(unit.value("unit").toInt())
        .arg(esc(name.isEmpty() ? QStringLiteral("no type") : name))
        .arg(unit.value("type").toInt());
}

// One row of racks or slots: each placed unit spans its size.
QString rackRow(const QJsonArray& placed, int rack, int cells, bool plugin)
{
    QMap<int, QJsonObject> starts;
    for (const QJsonValue& v : placed) {
        const QJsonObject unit = v.toObject();
        if (!plugin)
            starts.insert(unit.value("rack").toInt(), unit);
        else if (unit.value("rack").toInt() == rack)
            starts.insert(unit.value("slot").toInt(), unit);
    }
    QString row = QStringLiteral("<tr>");
    if (plugin)
        row += QStringLiteral("<th>rack %1</th>").arg(rack);
    for (int cell = 0; cell < cells;) {
        const auto it = starts.constFind(cell);
        if (it != starts.constEnd() && it->value("size").toInt() > 0) {
            const int span = qMin(it->value("size").toInt(), cells - cell);
            row += QStringLiteral("<td class=\"unit\" colspan=\"%1\" data-unit=\"%2\">%3</td>")
                       .arg(span)
                       .arg(it->value("unit").toInt())
                       .arg(unitLabel(*it, plugin));
            cell += span;
        } else {
            row += QStringLiteral("<td class=\"free\">%1</td>").arg(cell);
            ++cell;
        }
    }
    return row + QStringLiteral("</tr>");
}

QString untypedLine(const QJsonArray& untyped, bool plugin)
{
    if (untyped.isEmpty())
        return QString();
    // "3-63" rather than 61 numbers.
    QStringList units;
    long long values = 0;
    int first = -2;
    int last = -2;
    const auto flush = [&] {
        if (first >= 0)
            units << (first == last ? QString::number(first) : QStringLiteral("%1&#8211;%2").arg(first).arg(last));
    };
    for (const QJsonValue& v : untyped) {
        const int unit = v.toObject().value("unit").toInt();
        values += v.toObject().value("dropped").toVariant().toLongLong();
        if (unit != last + 1) {
            flush();
            first = unit;
        }
        last = unit;
    }
    flush();
    return QStringLiteral("<p class=\"note\">Without a type, so without a place: %1 %2 (%3 values not sent).</p>")
        .arg(plugin ? QStringLiteral("plug-ins") : QStringLiteral("units"), units.join(QStringLiteral(", ")))
        .arg(values);
}

QString unplacedList(const QJsonArray& unplaced, bool plugin)
{
    if (unplaced.isEmpty())
        return QStringLiteral("<p>Every %1 with a type found a place.</p>")
            .arg(plugin ? QStringLiteral("plug-in") : QStringLiteral("unit"));
    QString out = QStringLiteral("<table><tr><th>%1</th><th>type</th><th>size</th><th>values lost</th></tr>")
                      .arg(plugin ? QStringLiteral("plug-in") : QStringLiteral("unit"));
    for (const QJsonValue& v : unplaced) {
        const QJsonObject unit = v.toObject();
        const QString name = unit.value("name").toString();
        out += QStringLiteral("<tr><td class=\"lost\" data-unplaced=\"%1\">%1</td><td>%2 (%3)</td><td class=\"n\">%4</td>"
                              "<td class=\"n\">%5</td></tr>")
                   .arg(unit.value("unit").toInt())
                   .arg(esc(name.isEmpty() ? QStringLiteral("no type") : name))
                   .arg(unit.value("type").toInt())
                   .arg(unit.value("size").toInt())
                   .arg(unit.value("dropped").toVariant().toLongLong());
    }
    return out + QStringLiteral("</table>");
}

QString racks(const QJsonObject& scene, const char* key, bool plugin)
{
    const QJsonObject racks = scene.value(QLatin1String(key)).toObject();
    const QJsonArray placed = racks.value("placed").toArray();
    QString grid = QStringLiteral("<table class=\"racks\" id=\"%1-%2\">")
                       .arg(QLatin1String(plugin ? "velmar-racks" : "fx-racks"))
                       .arg(scene.value("number").toInt());
    if (plugin) {
        for (int rack = 0; rack < racks.value("racks").toInt(); ++rack)
            grid += rackRow(placed, rack, racks.value("slotsPerRack").toInt(), true);
    } else {
        grid += rackRow(placed, 0, racks.value("racks").toInt(), false);
    }
    grid += QStringLiteral("</table>");
    // The units without a place stand beside the racks.
    return QStringLiteral("<table><tr><td>%1</td><td><b>Without a place</b>%2</td></tr></table>%3")
        .arg(grid, unplacedList(racks.value("unplaced").toArray(), plugin),
             untypedLine(racks.value("untyped").toArray(), plugin));
}

QString refusals(const QJsonArray& list)
{
    QString out = QStringLiteral("<table><tr><th>parameter</th><th>channel</th><th>address</th><th>value</th>"
                                 "<th>why</th></tr>");
    for (const QJsonValue& v : list) {
        const QJsonObject r = v.toObject();
        out += QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td><td>%3</td><td>%4</td><td class=\"bad\">%5</td></tr>")
                   .arg(esc(r.value("parameter").toString()))
                   .arg(r.contains("channel") ? QString::number(r.value("channel").toInt()) : QString())
                   .arg(esc(r.value("address").toString()))
                   .arg(esc(valueText(r.value("value"))))
                   .arg(esc(r.value("reason").toString()));
    }
    return out + QStringLiteral("</table>");
}

} // namespace

QString ReportHtml::render(const QJsonObject& report, const QVector<SceneView>& console)
{
    const QJsonObject totals = report.value("totals").toObject();
    const QJsonArray scenes = report.value("scenes").toArray();
    QString html;
    html += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/>"
                           "<title>Conversion report: %1</title><style>%2</style></head><body>\n")
                .arg(esc(report.value("source").toString()), QString::fromLatin1(kStyle) + QLatin1String(ConsolePage::stripStyle()));
    html += QStringLiteral("<h1>Conversion report</h1><p>%1 &#8594; %2</p>\n")
                .arg(esc(report.value("source").toString()), esc(report.value("output").toString()));

    html += QStringLiteral("<h2>Every value written</h2><table id=\"totals\">"
                           "<tr><th>written</th><th>landed</th><th>refused by the console</th>"
                           "<th>no place on a rack</th><th>of which to empty units</th><th>left alone by filters</th></tr><tr>");
    for (const char* key : {"written", "landed", "refused", "noPlace", "toEmptyUnits", "leftAlone"})
        html += numberCell(totals, key);
    html += QStringLiteral("</tr></table><p class=\"note\">Written = landed + refused + no place. A value with no "
                           "place went to an effect unit or plug-in that found no room on the racks, or that has "
                           "no type at all.</p>\n");

    html += QStringLiteral("<h2>Scenes</h2><table id=\"scenes\"><tr><th>scene</th><th>title</th><th>written</th>"
                           "<th>landed</th><th>refused</th><th>no place</th><th>left alone</th></tr>");
    for (const QJsonValue& v : scenes) {
        const QJsonObject scene = v.toObject();
        const QJsonObject values = scene.value("values").toObject();
        html += QStringLiteral("<tr data-scene=\"%1\"><td>%2</td><td>%3</td>")
                    .arg(scene.value("number").toInt())
                    .arg(scene.value("scene").toString(), esc(scene.value("title").toString()));
        for (const char* key : {"written", "landed", "refused", "noPlace", "leftAlone"})
            html += numberCell(values, key);
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>\n");

    for (const QJsonValue& v : scenes) {
        const QJsonObject scene = v.toObject();
        html += QStringLiteral("<h2>Scene %1 &#8220;%2&#8221;</h2>\n")
                    .arg(scene.value("scene").toString(), esc(scene.value("title").toString()));
        const QJsonArray refused = scene.value("refused").toArray();
        if (!refused.isEmpty())
            html += QStringLiteral("<h3>Refused by the console</h3>") + refusals(refused);
        const QJsonArray setup = scene.value("setupRefused").toArray();
        if (!setup.isEmpty())
            html += QStringLiteral("<h3>Set-up writes of the plug-in refused</h3>") + refusals(setup);
        html += QStringLiteral("<h3>Effect racks (16)</h3>") + racks(scene, "fx", false);
        html += QStringLiteral("<h3>Plug-in racks (4 &#215; 16 slots)</h3>") + racks(scene, "plugins", true);
        for (const SceneView& view : console) {
            if (view.header.number != scene.value("number").toInt())
                continue;
            html += QStringLiteral("<div class=\"console\" id=\"console-%1\"><h3>The console after the conversion</h3>"
                                   "<p class=\"note\">As the written file holds it. A name in grey italics is the "
                                   "current memory's (the file's name lists live there, not in the scenes). Faders "
                                   "are drawn from -60 dB (bottom) to +10 dB.</p>\n")
                        .arg(view.header.number)
                    + ConsolePage::strips(view) + QStringLiteral("</div>\n");
        }
        html += QStringLiteral("\n");
    }

    const QJsonArray other = report.value("otherRefused").toArray();
    if (!other.isEmpty())
        html += QStringLiteral("<h2>Refused outside the scenes (name lists)</h2>") + refusals(other);

    const QJsonArray missing = report.value("notInSource").toArray();
    html += QStringLiteral("<h2>KX9 parameters without an RQ10 source (%1)</h2><ul>").arg(missing.size());
    for (const QJsonValue& name : missing)
        html += QStringLiteral("<li>%1</li>").arg(esc(name.toString()));
    html += QStringLiteral("</ul>\n");

    const QJsonArray warnings = report.value("warnings").toArray();
    html += QStringLiteral("<h2>Warnings (%1)</h2><ul>").arg(warnings.size());
    for (const QJsonValue& w : warnings)
        html += QStringLiteral("<li>%1</li>").arg(esc(w.toString()));
    html += QStringLiteral("</ul>\n</body></html>\n");
    return html;
}
