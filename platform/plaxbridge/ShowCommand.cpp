#include "ShowCommand.h"

#include "ConsoleDiff.h"
#include "ConsolePage.h"
#include "ConsoleReader.h"
#include "ConsoleText.h"
#include "ExceptionNames.h"
#include "InterruptGuard.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>
#include <exception>
#include <memory>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "plaxbridge show: %s\n", message.toLocal8Bit().constData());
    return 1;
}

} // namespace

ShowCommand::ShowCommand(Options options)
    : m_options(std::move(options))
{
}

int ShowCommand::parseSceneNumber(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return -1;
    const QString fraction = m.captured(2).leftJustified(2, QLatin1Char('0'));
    return m.captured(1).toInt() * 100 + fraction.toInt();
}

bool ShowCommand::writeFile(const QString& path, const QByteArray& content, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

int ShowCommand::run()
{
    const int wanted = m_options.scene.isEmpty() ? 0 : parseSceneNumber(m_options.scene);
    if (wanted < 0 || (!m_options.scene.isEmpty() && wanted == 0))
        return fail(QStringLiteral("--scene needs a stored scene's number, 0.01 to 999.99: %1").arg(m_options.scene));

    ConsoleReader reader(m_options.programDirectory);
    QString error;
    if (!reader.start(error) || !reader.load(m_options.file, error))
        return fail(error);
    QVector<SceneHeader> scenes;
    QVector<SceneView> views;
    try {
        scenes = reader.scenes();
        const QVector<QStringList> current = reader.currentNames();
        if (m_options.scene.isEmpty()) {
            SceneHeader memory;
            memory.number = ConsoleDiff::CurrentMemory;
            views.append(reader.view(memory, current));
        }
        for (const SceneHeader& h : scenes) {
            if (InterruptGuard::interrupted())
                return 130;
            if (m_options.scene.isEmpty() || h.number == wanted)
                views.append(reader.view(h, current));
        }
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        return fail(QStringLiteral("the plug-in threw %1: %2")
                        .arg(QString::fromStdString(owned ? ExceptionNames::className(*owned) : "null"),
                             QString::fromUtf8(owned ? owned->what() : "")));
    }
    if (!m_options.scene.isEmpty() && views.isEmpty())
        return fail(QStringLiteral("%1 has no scene %2").arg(m_options.file, ConsoleText::sceneNumber(wanted)));

    if (!m_options.html.isEmpty())
        return writeFile(m_options.html, ConsolePage::show(m_options.file, scenes, views).toUtf8(), error) ? 0 : fail(error);
    if (!m_options.json.isEmpty())
        return writeFile(m_options.json,
                         QJsonDocument(ConsoleText::showJson(m_options.file, scenes, views)).toJson(QJsonDocument::Indented),
                         error)
                   ? 0
                   : fail(error);
    const QByteArray text = ConsoleText::showText(m_options.file, scenes, views).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}
