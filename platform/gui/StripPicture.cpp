#include "StripPicture.h"

#include <QJsonArray>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr int StripWidth = 54;
constexpr int StripHeight = 150;
constexpr int Gap = 3;
constexpr int Margin = 6;
constexpr int HeadingHeight = 20;

struct Kind {
    const char* key;
    const char* label;
    const char* heading;
};
const Kind kKinds[] = {{"InputChannel", "IN", "Input channels"},
                       {"Mix", "MIX", "Mixes"},
                       {"Matrix", "MTX", "Matrices"},
                       {"Stereo", "ST", "Stereo"},
                       {"DCA", "DCA", "DCAs"}};

// The same laws as the page's.
double faderFraction(int level)
{
    return qBound(0.0, (level / 100.0 + 60.0) / 70.0, 1.0);
}

double panFraction(int pan)
{
    return qBound(0.0, 0.5 + pan / 126.0, 1.0);
}

QString faderText(int level)
{
    return QString::number(level / 100.0, 'f', 1);
}

} // namespace

StripPicture::StripPicture(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x31));
    setPalette(colors);
}

void StripPicture::setScene(const QJsonObject& scene)
{
    m_scene = scene;
    setMinimumHeight(heightFor(columns()));
    update();
}

int StripPicture::columns() const
{
    return qMax(1, (width() - 2 * Margin + Gap) / (StripWidth + Gap));
}

int StripPicture::heightFor(int columns) const
{
    const QJsonObject strips = m_scene.value(QStringLiteral("strips")).toObject();
    int height = Margin;
    for (const Kind& kind : kKinds) {
        const int count = strips.value(QLatin1String(kind.key)).toArray().size();
        if (count > 0)
            height += HeadingHeight + ((count + columns - 1) / columns) * (StripHeight + Gap);
    }
    return height + Margin;
}

void StripPicture::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int wanted = heightFor(columns());
    if (minimumHeight() != wanted)
        setMinimumHeight(wanted);
}

void StripPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QJsonObject strips = m_scene.value(QStringLiteral("strips")).toObject();
    const int perRow = columns();
    int y = Margin;
    for (const Kind& kind : kKinds) {
        const QJsonArray list = strips.value(QLatin1String(kind.key)).toArray();
        if (list.isEmpty())
            continue;
        painter.setPen(QColor(0xe8, 0xe8, 0xe8));
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(QRect(Margin, y, width() - 2 * Margin, HeadingHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QLatin1String(kind.heading));
        y += HeadingHeight;
        for (int i = 0; i < list.size(); ++i) {
            const QRect box(Margin + (i % perRow) * (StripWidth + Gap), y + (i / perRow) * (StripHeight + Gap),
                            StripWidth, StripHeight);
            if (box.intersects(event->rect()))
                paintStrip(painter, box, QLatin1String(kind.label), list.at(i).toObject());
        }
        y += ((list.size() + perRow - 1) / perRow) * (StripHeight + Gap);
    }
}

void StripPicture::paintStrip(QPainter& painter, const QRect& box, const QString& label, const QJsonObject& strip) const
{
    const bool on = strip.value(QStringLiteral("on")).toBool();
    const int level = strip.value(QStringLiteral("fader")).toInt();
    QFont small = font();
    small.setPointSizeF(qMax(6.0, font().pointSizeF() * 0.75));
    painter.setFont(small);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3c, 0x3f, 0x45));
    painter.drawRoundedRect(box, 3, 3);

    const int x = box.left() + 3;
    const int w = box.width() - 6;
    int y = box.top() + 2;
    const auto text = [&](const QRect& r, const QString& s, const QColor& color) {
        painter.setPen(color);
        painter.drawText(r, Qt::AlignCenter, painter.fontMetrics().elidedText(s, Qt::ElideRight, r.width()));
    };
    text(QRect(x, y, w, 13), label + QLatin1Char(' ') + QString::number(strip.value(QStringLiteral("channel")).toInt() + 1),
         QColor(0x9f, 0xb3, 0xc8));
    y += 14;

    QString name = strip.value(QStringLiteral("name")).toString();
    const bool fromCurrent = name.isEmpty();
    if (fromCurrent)
        name = strip.value(QStringLiteral("currentName")).toString();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1d, 0x1f, 0x22));
    painter.drawRect(x, y, w, 14);
    QFont nameFont = small;
    nameFont.setItalic(fromCurrent);
    painter.setFont(nameFont);
    text(QRect(x + 1, y, w - 2, 14), name, fromCurrent ? QColor(0xaa, 0xaa, 0xaa) : Qt::white);
    painter.setFont(small);
    y += 17;

    if (strip.contains(QStringLiteral("eq"))) {
        QFont lampFont = small;
        lampFont.setPointSizeF(small.pointSizeF() * 0.85);
        painter.setFont(lampFont);
        const bool lit[] = {strip.value(QStringLiteral("eq")).toBool(),
                            !strip.value(QStringLiteral("dynamics")).toArray().isEmpty()};
        const char* const names[] = {"EQ", "DYN"};
        for (int i = 0; i < 2; ++i) {
            const QRect lamp(x + i * (w / 2) + 1, y, w / 2 - 2, 12);
            painter.setPen(Qt::NoPen);
            painter.setBrush(lit[i] ? QColor(0xf0, 0xb4, 0x29) : QColor(0x55, 0x58, 0x5e));
            painter.drawRoundedRect(lamp, 2, 2);
            painter.setPen(lit[i] ? QColor(0x22, 0x22, 0x22) : QColor(0x99, 0x99, 0x99));
            painter.drawText(lamp, Qt::AlignCenter, QLatin1String(names[i]));
        }
        painter.setFont(small);
    }
    y += 15;

    if (strip.contains(QStringLiteral("pan"))) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1d, 0x1f, 0x22));
        painter.drawRoundedRect(QRect(x + 2, y, w - 4, 6), 3, 3);
        painter.setBrush(QColor(0x7f, 0xd1, 0xff));
        const int px = x + 2 + static_cast<int>(panFraction(strip.value(QStringLiteral("pan")).toInt()) * (w - 4));
        painter.drawRect(px - 2, y - 1, 4, 8);
    }
    y += 10;

    const int trackHeight = box.bottom() - 32 - y;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x11, 0x11, 0x11));
    painter.drawRoundedRect(QRect(box.center().x() - 3, y, 6, trackHeight), 3, 3);
    const int capY = y + trackHeight - static_cast<int>(faderFraction(level) * trackHeight);
    painter.setBrush(on ? QColor(0xd8, 0xd8, 0xd8) : QColor(0x99, 0x99, 0x99));
    painter.drawRoundedRect(QRect(box.center().x() - 12, capY - 5, 24, 10), 2, 2);
    painter.setPen(QColor(0x88, 0x88, 0x88));
    painter.drawLine(box.center().x() - 11, capY - 5, box.center().x() + 11, capY - 5);
    y += trackHeight + 2;

    text(QRect(x, y, w, 13), faderText(level), QColor(0xe8, 0xe8, 0xe8));
    y += 14;
    const QRect key(x, y, w, 13);
    painter.setPen(Qt::NoPen);
    painter.setBrush(on ? QColor(0x37, 0xc2, 0x6b) : QColor(0x55, 0x58, 0x5e));
    painter.drawRoundedRect(key, 2, 2);
    text(key, QStringLiteral("ON"), on ? QColor(0x10, 0x20, 0x10) : QColor(0x99, 0x99, 0x99));
}
