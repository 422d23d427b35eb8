#include "ProgressReporter.h"

#include "ShellFormatter.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include <unistd.h>

namespace {

constexpr int BarWidth = 30;
constexpr int LineWidth = 100;
constexpr qint64 RedrawMilliseconds = 100;

} // namespace

ProgressReporter::ProgressReporter(Mode mode, std::FILE* out)
    : m_mode(mode)
    , m_out(out)
{
    if (m_mode == Mode::Auto)
        m_mode = ::isatty(::fileno(out)) ? Mode::Bar : Mode::Lines;
}

QString ProgressReporter::sceneText(int number)
{
    return QString::number(number / 100.0, 'f', 2);
}

QString ProgressReporter::bar(double fraction, int width)
{
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * width + 0.5);
    return QLatin1Char('[') + QString(filled, QLatin1Char('#'))
           + QString(width - filled, QLatin1Char('.')) + QLatin1Char(']');
}

void ProgressReporter::line(const QString& text)
{
    if (m_mode == Mode::None)
        return;
    if (m_barShown) {
        std::fputs("\r\033[K", m_out);
        m_barShown = false;
    }
    std::fprintf(m_out, "%s\n", text.toLocal8Bit().constData());
    std::fflush(m_out);
}

void ProgressReporter::event(const char* name, QJsonObject fields)
{
    fields.insert(QStringLiteral("event"), QLatin1String(name));
    const QByteArray json = QJsonDocument(fields).toJson(QJsonDocument::Compact);
    std::fprintf(m_out, "%s\n", json.constData());
    std::fflush(m_out);
}

void ProgressReporter::phase(const QString& text)
{
    if (m_mode == Mode::Json)
        event("phase", {{QStringLiteral("text"), text}});
    else
        line(text);
}

void ProgressReporter::beginScene(int index, int count, int number, const QString& title,
                                  int parameters)
{
    m_sceneIndex = index;
    m_sceneCount = std::max(count, 1);
    m_sceneNumber = number;
    m_parameters = std::max(parameters, 1);
    m_sceneFraction = static_cast<double>(index) / m_sceneCount;
    if (m_mode == Mode::Json) {
        m_sinceDraw.restart();
        event("sceneBegin", {{QStringLiteral("index"), index},
                             {QStringLiteral("count"), count},
                             {QStringLiteral("number"), number},
                             {QStringLiteral("title"), title},
                             {QStringLiteral("parameters"), parameters}});
    } else if (m_mode == Mode::Lines)
        line(QStringLiteral("scene %1/%2: %3 %4, %5 parameters")
                 .arg(index + 1)
                 .arg(count)
                 .arg(sceneText(number),
                      QString::fromStdString(ShellFormatter::jsonString(title.toStdString())))
                 .arg(parameters));
    else if (m_mode == Mode::Bar) {
        m_sinceDraw.invalidate();
        drawBar(QString());
    }
}

void ProgressReporter::parameter(int done, const QString& name)
{
    if (m_mode != Mode::Bar && m_mode != Mode::Json)
        return;
    // A scene has thousands of parameters: a reader wants about ten updates
    // a second, and always the scene's last one.
    if (m_sinceDraw.isValid() && m_sinceDraw.elapsed() < RedrawMilliseconds && done < m_parameters)
        return;
    if (m_mode == Mode::Json) {
        m_sinceDraw.restart();
        event("progress", {{QStringLiteral("index"), m_sceneIndex},
                           {QStringLiteral("done"), done},
                           {QStringLiteral("parameters"), m_parameters},
                           {QStringLiteral("name"), name}});
        return;
    }
    m_sceneFraction = (m_sceneIndex + static_cast<double>(done) / m_parameters) / m_sceneCount;
    drawBar(name);
}

void ProgressReporter::drawBar(const QString& label)
{
    const double fraction = m_sceneFraction;
    QString text = QStringLiteral("%1 %2%  scene %3/%4 (%5)  ")
                       .arg(bar(fraction, BarWidth))
                       .arg(static_cast<int>(fraction * 100), 3)
                       .arg(m_sceneIndex + 1)
                       .arg(m_sceneCount)
                       .arg(sceneText(m_sceneNumber));
    QString rest = label;
    const int room = LineWidth - text.size();
    if (rest.size() > room)
        rest = QStringLiteral("...") + rest.right(std::max(room - 3, 0));
    text += rest;
    std::fprintf(m_out, "\r\033[K%s", text.toLocal8Bit().constData());
    std::fflush(m_out);
    m_barShown = true;
    m_sinceDraw.restart();
}

void ProgressReporter::endScene(long long written, long long leftAlone, double seconds)
{
    if (m_mode == Mode::Json)
        event("sceneEnd", {{QStringLiteral("index"), m_sceneIndex},
                           {QStringLiteral("count"), m_sceneCount},
                           {QStringLiteral("number"), m_sceneNumber},
                           {QStringLiteral("written"), static_cast<double>(written)},
                           {QStringLiteral("leftAlone"), static_cast<double>(leftAlone)},
                           {QStringLiteral("seconds"), std::round(seconds * 1000) / 1000}});
    else if (m_mode == Mode::Lines)
        line(QStringLiteral("scene %1/%2 stored as %3: %4 values written, %5 left alone, %6 s")
                 .arg(m_sceneIndex + 1)
                 .arg(m_sceneCount)
                 .arg(sceneText(m_sceneNumber))
                 .arg(written)
                 .arg(leftAlone)
                 .arg(seconds, 0, 'f', 1));
}

void ProgressReporter::finish()
{
    if (m_barShown) {
        std::fputs("\r\033[K", m_out);
        std::fflush(m_out);
        m_barShown = false;
    }
}

void ProgressReporter::warning(const QString& text)
{
    message("warning", "warning: ", text);
}

void ProgressReporter::error(const QString& text)
{
    message("error", "", text);
}

void ProgressReporter::message(const char* kind, const char* prefix, const QString& text)
{
    if (m_mode == Mode::Json) {
        event(kind, {{QStringLiteral("message"), text}});
        return;
    }
    finish();
    std::fprintf(m_out, "plaxbridge convert: %s%s\n", prefix, text.toLocal8Bit().constData());
    std::fflush(m_out);
}

void ProgressReporter::end(int status, const QJsonObject& summary)
{
    if (m_mode != Mode::Json)
        return;
    QJsonObject fields{{QStringLiteral("status"), status}};
    if (!summary.isEmpty())
        fields.insert(QStringLiteral("summary"), summary);
    event("end", fields);
}
