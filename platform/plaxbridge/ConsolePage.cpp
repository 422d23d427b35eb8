#include "ConsolePage.h"

#include "ConsoleDiff.h"
#include "ConsoleText.h"

#include <QStringList>

namespace {

// The page around the strips; the strips' own rules are kStripStyle.
const char kPageStyle[] =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "h1{font-size:1.5em}h2{font-size:1.25em;margin-top:1.6em}h3{font-size:1em;margin:1em 0 0.3em}"
    "table{border-collapse:collapse;margin:0.4em 0}"
    "th,td{border:1px solid #bbb;padding:3px 6px;text-align:left;vertical-align:top}th{background-color:#eee}"
    "p.note{color:#555}";

const char kStripStyle[] =
    ".bank{display:flex;flex-wrap:wrap;gap:3px;background-color:#2b2d31;padding:6px;border-radius:4px}"
    ".strip{width:58px;background-color:#3c3f45;color:#e8e8e8;border-radius:3px;padding:3px;"
    "font-size:10px;text-align:center}"
    ".strip .num{color:#9fb3c8;font-weight:bold}"
    ".strip .name{background-color:#1d1f22;color:#fff;margin:2px 0;padding:1px;height:1.3em;overflow:hidden;"
    "white-space:nowrap;text-overflow:ellipsis}"
    ".strip .name.current{color:#aaa;font-style:italic}"
    ".lamps{display:flex;justify-content:space-between;margin:2px 0}"
    ".lamp{flex:1;margin:0 1px;border-radius:2px;background-color:#55585e;color:#999}"
    ".lamp.lit{background-color:#f0b429;color:#222}.lamp.none{visibility:hidden}"
    ".pan{position:relative;height:6px;background-color:#1d1f22;margin:4px 2px;border-radius:3px}"
    ".pan span{position:absolute;top:-1px;width:4px;height:8px;margin-left:-2px;background-color:#7fd1ff}"
    ".pan.none{visibility:hidden}"
    ".track{position:relative;height:90px;width:6px;margin:4px auto;background-color:#111;border-radius:3px}"
    ".track span{position:absolute;left:-9px;width:24px;height:10px;margin-bottom:-5px;"
    "background-color:#d8d8d8;border-radius:2px;border-top:2px solid #888}"
    ".db{font-family:monospace}"
    ".key{margin-top:3px;border-radius:2px;background-color:#55585e;color:#999;font-weight:bold}"
    ".key.on{background-color:#37c26b;color:#102010}"
    ".strip.muted .track span{background-color:#999}";

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

// Fader law of the picture: -60 dB at the bottom, +10 dB at the top.
int faderPosition(int level)
{
    const double db = level / 100.0;
    return qBound(0, static_cast<int>((db + 60.0) / 70.0 * 100.0 + 0.5), 100);
}

int panPosition(int pan)
{
    return qBound(0, 50 + pan * 50 / 63, 100);
}

QString attribute(const char* name, const QString& value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + esc(value) + QLatin1Char('"');
}

// Built by concatenation: names may hold "%" and must not meet QString::arg.
QString stripHtml(const QString& kind, const QString& label, const Strip& s)
{
    const QString name = s.name.isEmpty() ? s.currentName : s.name;
    const bool fromCurrent = s.name.isEmpty() && !s.currentName.isEmpty();
    const QString number = label + QLatin1Char(' ') + QString::number(s.channel + 1);
    QString title = number + QStringLiteral(": ") + ConsoleText::faderText(s.fader) + QStringLiteral(" dB, ")
                    + (s.on ? QStringLiteral("on") : QStringLiteral("off"));
    if (s.hasPan)
        title += QStringLiteral(", pan ") + ConsoleText::panText(s.pan);
    if (!s.dynamics.isEmpty())
        title += QStringLiteral(", ") + s.dynamics.join(QStringLiteral(", "));
    const auto lamp = [&](bool lit, const QString& text) {
        return QStringLiteral("<span class=\"lamp") + (!s.hasProcessing ? QStringLiteral(" none") : lit ? QStringLiteral(" lit") : QString())
               + QStringLiteral("\">") + text + QStringLiteral("</span>");
    };
    QString html = QStringLiteral("<div class=\"strip") + (s.on ? QString() : QStringLiteral(" muted")) + QLatin1Char('"')
                   + attribute("data-kind", kind) + attribute("data-channel", QString::number(s.channel))
                   + attribute("data-fader", QString::number(s.fader)) + attribute("title", title) + QLatin1Char('>');
    html += QStringLiteral("<div class=\"num\">") + esc(number) + QStringLiteral("</div>");
    html += QStringLiteral("<div class=\"name") + (fromCurrent ? QStringLiteral(" current") : QString()) + QStringLiteral("\">")
            + (name.isEmpty() ? QStringLiteral("&#160;") : esc(name)) + QStringLiteral("</div>");
    html += QStringLiteral("<div class=\"lamps\">") + lamp(s.eq, QStringLiteral("EQ"))
            + lamp(!s.dynamics.isEmpty(), QStringLiteral("DYN")) + QStringLiteral("</div>");
    html += QStringLiteral("<div class=\"pan") + (s.hasPan ? QString() : QStringLiteral(" none")) + QStringLiteral("\"><span style=\"left:")
            + QString::number(panPosition(s.pan)) + QStringLiteral("%\"></span></div>");
    html += QStringLiteral("<div class=\"track\"><span style=\"bottom:") + QString::number(faderPosition(s.fader))
            + QStringLiteral("%\"></span></div>");
    html += QStringLiteral("<div class=\"db\">") + ConsoleText::faderText(s.fader) + QStringLiteral("</div>");
    html += QStringLiteral("<div class=\"key") + (s.on ? QStringLiteral(" on") : QString()) + QStringLiteral("\">ON</div></div>\n");
    return html;
}

QString unitsTable(const char* heading, const QVector<RackUnit>& units, bool plugins)
{
    QString html = QStringLiteral("<h3>%1</h3>\n").arg(QLatin1String(heading));
    if (units.isEmpty())
        return html + QStringLiteral("<p class=\"note\">none</p>\n");
    html += QStringLiteral("<table><tr><th>%1</th><th>type</th><th>library name</th></tr>\n")
                .arg(plugins ? QStringLiteral("rack.slot") : QStringLiteral("unit"));
    for (const RackUnit& u : units)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                    .arg(ConsoleText::unitPlace(u.unit, plugins), esc(u.type), esc(u.library));
    return html + QStringLiteral("</table>\n");
}

QString page(const QString& title, const QString& body)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                          "<style>%2</style>\n</head>\n<body>\n%3</body>\n</html>\n")
        .arg(esc(title), QString::fromLatin1(kPageStyle) + QLatin1String(kStripStyle), body);
}

QString headersTable(const QVector<SceneHeader>& scenes)
{
    QString html = QStringLiteral("<table><tr><th>scene</th><th>title</th><th>comment</th><th>protect</th><th>date</th></tr>\n");
    for (const SceneHeader& h : scenes)
        html += QStringLiteral("<tr data-scene=\"%1\"><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>\n")
                    .arg(h.number)
                    .arg(ConsoleText::sceneNumber(h.number), esc(h.title), esc(h.comment),
                         h.protect ? QStringLiteral("yes") : QStringLiteral("no"), esc(h.date));
    return html + QStringLiteral("</table>\n");
}

} // namespace

const char* ConsolePage::stripStyle()
{
    return kStripStyle;
}

QString ConsolePage::strips(const SceneView& view)
{
    static const char* const kHeadings[] = {"Input channels", "Mixes", "Matrices", "Stereo", "DCAs"};
    QString html;
    for (int g = 0; g < view.groups.size(); ++g) {
        const StripGroup& group = view.groups[g];
        html += QStringLiteral("<h3>%1</h3>\n<div class=\"bank\">\n").arg(QLatin1String(g < 5 ? kHeadings[g] : ""));
        for (const Strip& s : group.strips)
            html += stripHtml(group.kind, group.label, s);
        html += QStringLiteral("</div>\n");
    }
    return html;
}

QString ConsolePage::sceneSection(const SceneView& view)
{
    const bool current = view.header.number == SceneHeader::CurrentMemory;
    QString html = QStringLiteral("<section data-scene=\"%1\">\n<h2>%2</h2>\n")
                       .arg(view.header.number)
                       .arg(current ? QStringLiteral("Current memory")
                                    : QStringLiteral("Scene ") + ConsoleText::sceneNumber(view.header.number)
                                          + QLatin1Char(' ') + esc(view.header.title));
    html += strips(view);
    html += unitsTable("Effect units", view.fx, false);
    html += unitsTable("Plug-ins", view.plugins, true);
    return html + QStringLiteral("</section>\n");
}

QString ConsolePage::show(const QString& file, const QVector<SceneHeader>& scenes, const QVector<SceneView>& views)
{
    QString body = QStringLiteral("<h1>KX9 console file</h1>\n<p>%1</p>\n<h2>Scenes</h2>\n").arg(esc(file));
    body += headersTable(scenes);
    body += QStringLiteral("<p class=\"note\">A name in grey italics is the current memory's: the scene holds none of "
                           "its own. Faders are drawn from -60 dB (bottom) to +10 dB.</p>\n");
    for (const SceneView& view : views)
        body += sceneSection(view);
    return page(QStringLiteral("KX9 console ") + file, body);
}

QString ConsolePage::diff(const QString& a, const QString& b, const ConsoleDiff& diff)
{
    QString body = QStringLiteral("<h1>KX9 console files compared</h1>\n<p>A: %1<br>B: %2</p>\n").arg(esc(a), esc(b));
    body += QStringLiteral("<p data-key=\"result\">%1</p>\n")
                .arg(diff.equal() ? QStringLiteral("Equal: %1 scenes compared.").arg(diff.comparedScenes())
                                  : QStringLiteral("%1 differences in %2 scenes compared; %3 scenes only in A, %4 only in B.")
                                        .arg(diff.differences().size())
                                        .arg(diff.comparedScenes())
                                        .arg(diff.onlyA().size())
                                        .arg(diff.onlyB().size()));
    if (!diff.onlyA().isEmpty())
        body += QStringLiteral("<h2>Scenes only in A</h2>\n") + headersTable(diff.onlyA());
    if (!diff.onlyB().isEmpty())
        body += QStringLiteral("<h2>Scenes only in B</h2>\n") + headersTable(diff.onlyB());
    int scene = 0;
    bool open = false;
    for (const Difference& d : diff.differences()) {
        if (!open || d.scene != scene) {
            if (open)
                body += QStringLiteral("</table>\n");
            body += QStringLiteral("<h2>%1</h2>\n<table><tr><th>parameter</th><th>channel</th><th>name</th><th>A</th><th>B</th></tr>\n")
                        .arg(d.scene == ConsoleDiff::CurrentMemory ? QStringLiteral("Current memory")
                                                                   : QStringLiteral("Scene ") + ConsoleText::sceneNumber(d.scene));
            open = true;
            scene = d.scene;
        }
        body += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>\n")
                    .arg(esc(d.parameter), d.channel >= 0 ? QString::number(d.channel + 1) : QString(), esc(d.channelName),
                         esc(d.a), esc(d.b));
    }
    if (open)
        body += QStringLiteral("</table>\n");
    return page(QStringLiteral("KX9 console files compared"), body);
}
