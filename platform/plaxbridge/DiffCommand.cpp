#include "DiffCommand.h"

#include "ConsoleDiff.h"
#include "ConsolePage.h"
#include "ConsoleReader.h"
#include "ConsoleText.h"
#include "ExceptionNames.h"
#include "InterruptGuard.h"
#include "ShowCommand.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <exception>
#include <memory>

namespace {

constexpr int kError = 2;
constexpr int kInterrupted = 130;

int fail(const QString& message)
{
    std::fprintf(stderr, "plaxbridge diff: %s\n", message.toLocal8Bit().constData());
    return kError;
}

} // namespace

DiffCommand::DiffCommand(Options options)
    : m_options(std::move(options))
{
}

int DiffCommand::run()
{
    ConsoleReader reader(m_options.programDirectory);
    QString error;
    if (!reader.start(error))
        return fail(error);
    std::vector<int> channelMins;
    for (std::size_t i = 0; i < reader.parameters().size(); ++i)
        channelMins.push_back(reader.channelMin(i));
    ConsoleDiff diff(reader.parameters(), channelMins, reader.valueNames());

    try {
        // A is read whole first: one file is in the editor at a time.
        if (!reader.load(m_options.a, error))
            return fail(error);
        const QVector<SceneHeader> scenesA = reader.scenes();
        const QVector<QStringList> currentA = reader.currentNames();
        QHash<int, int> indexA;
        std::vector<SceneValues> valuesA;
        for (const SceneHeader& h : scenesA) {
            if (InterruptGuard::interrupted())
                return kInterrupted;
            indexA.insert(h.number, static_cast<int>(valuesA.size()));
            valuesA.push_back(reader.values(h));
        }

        if (!reader.load(m_options.b, error))
            return fail(error);
        const QVector<SceneHeader> scenesB = reader.scenes();
        // Of the current memory only the strips' names: a conversion writes
        // them there alone, after the scenes.
        diff.compareNames(ConsoleDiff::CurrentMemory, currentA.mid(0, ConsoleReader::StripNameLists),
                          reader.currentNames().mid(0, ConsoleReader::StripNameLists));
        QHash<int, bool> inB;
        for (const SceneHeader& h : scenesB) {
            if (InterruptGuard::interrupted())
                return kInterrupted;
            inB.insert(h.number, true);
            const auto it = indexA.constFind(h.number);
            if (it == indexA.constEnd()) {
                diff.onlyIn(false, h);
                continue;
            }
            const SceneValues& a = valuesA[static_cast<std::size_t>(*it)];
            diff.compareInformation(a.header, h);
            diff.compareValues(a, reader.values(h));
        }
        for (const SceneHeader& h : scenesA) {
            if (!inB.contains(h.number))
                diff.onlyIn(true, h);
        }
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        return fail(QStringLiteral("the plug-in threw %1: %2")
                        .arg(QString::fromStdString(owned ? ExceptionNames::className(*owned) : "null"),
                             QString::fromUtf8(owned ? owned->what() : "")));
    }

    const int status = diff.equal() ? 0 : 1;
    if (!m_options.html.isEmpty())
        return ShowCommand::writeFile(m_options.html, ConsolePage::diff(m_options.a, m_options.b, diff).toUtf8(), error)
                   ? status
                   : fail(error);
    if (!m_options.json.isEmpty())
        return ShowCommand::writeFile(
                   m_options.json,
                   QJsonDocument(ConsoleText::diffJson(m_options.a, m_options.b, diff)).toJson(QJsonDocument::Indented),
                   error)
                   ? status
                   : fail(error);
    const QByteArray text = ConsoleText::diffText(m_options.a, m_options.b, diff).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return status;
}
