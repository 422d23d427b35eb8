#include "ConvertCommand.h"

#include "ConsoleReader.h"
#include "ConversionDescription.h"
#include "DescriptorList.h"
#include "ExceptionNames.h"
#include "InterruptGuard.h"
#include "LogFilter.h"
#include "PluginModule.h"
#include "Rq10Mixer.h"
#include "Rq10Setup.h"
#include "host/IMixer.h"
#include "host/IParameterConverter.h"
#include "host/ParameterNotFoundException.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitInterrupted = 130;
constexpr int MaxWarningsShown = 10;
// The editor's connection closes as its process ends: how long the process
// may take to be seen ending, so that the cause can be named.
constexpr int ExitNoticeMs = 500;
// How long a successful conversion waits for the editor to end after
// Destroy, for its figures in the summary.
constexpr int EditorEndMs = 2000;
const char kSourceFileType[] = "RQ10";
const char kTargetFileType[] = "KX9F";

// Releases a mixer through its Destroy slot.
struct MixerRelease {
    void operator()(IMixer* mixer) const
    {
        if (mixer)
            mixer->Destroy();
    }
};
using MixerPtr = std::unique_ptr<IMixer, MixerRelease>;

struct ConverterRelease {
    void operator()(IParameterConverter* converter) const
    {
        if (converter)
            converter->Destroy();
    }
};
using ConverterPtr = std::unique_ptr<IParameterConverter, ConverterRelease>;

// Removes a file when it goes out of scope, unless released.
class FileRemover {
public:
    explicit FileRemover(QString path) : m_path(std::move(path)) {}
    ~FileRemover()
    {
        if (!m_path.isEmpty())
            QFile::remove(m_path);
    }
    void release() { m_path.clear(); }

private:
    QString m_path;
};

QString describeException(const std::exception& e)
{
    return QStringLiteral("%1: %2").arg(QString::fromStdString(ExceptionNames::className(e)),
                                        QString::fromUtf8(e.what()));
}

} // namespace

// The editor ended, closed its connection or stopped answering: the
// conversion cannot go on. `cause` completes "the KX9 editor ...".
struct ConvertCommand::EditorLost {
    QString cause;
    QString detail;
};

ConvertCommand::ConvertCommand(Options options)
    : m_options(std::move(options))
    , m_progress(m_options.progress)
{
}

void ConvertCommand::fail(const QString& message)
{
    m_progress.error(message);
}

void ConvertCommand::warn(const QString& text)
{
    m_report.warning(text);
    ++m_warnings;
    // Programs get every warning; people the first few.
    if (m_warnings <= MaxWarningsShown || m_progress.mode() == ProgressReporter::Mode::Json) {
        m_progress.warning(text);
    } else if (m_warnings == MaxWarningsShown + 1) {
        std::fprintf(stderr, "plaxbridge convert: further warnings are not shown\n");
    }
}

int ConvertCommand::run()
{
    QElapsedTimer clock;
    clock.start();
    LogFilter::resetEditorCommands();

    // Everything that can be checked without the editor is checked first.
    const QFileInfo outputInfo(m_options.output);
    if (!outputInfo.fileName().endsWith(QStringLiteral(".KX9F"), Qt::CaseInsensitive)
        || outputInfo.completeBaseName().isEmpty()) {
        fail(QStringLiteral("OUTPUT %1 must be a file name ending in .KX9F").arg(m_options.output));
        return ExitFailed;
    }
    const QString folder = outputInfo.absolutePath();
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isDir()) {
        fail(QStringLiteral("cannot write OUTPUT %1: %2 %3")
                 .arg(m_options.output, folder,
                      folderInfo.exists() ? QStringLiteral("is not a folder")
                                          : QStringLiteral("does not exist")));
        return ExitFailed;
    }
    if (outputInfo.exists() && !outputInfo.isFile()) {
        fail(QStringLiteral("cannot write OUTPUT %1: it exists and is not a file").arg(m_options.output));
        return ExitFailed;
    }
    for (const QString& report : m_options.reports) {
        const QFileInfo info(report);
        if (!info.absoluteDir().exists() || (info.exists() && !info.isFile())) {
            fail(QStringLiteral("cannot write the report %1: %2").arg(report,
                 info.absoluteDir().exists() ? QStringLiteral("it exists and is not a file")
                                             : QStringLiteral("its folder does not exist")));
            return ExitFailed;
        }
    }
    const QString temporaryName = QStringLiteral(".%1.%2.partial.KX9F")
                                      .arg(outputInfo.completeBaseName())
                                      .arg(QCoreApplication::applicationPid());
    const QString temporaryPath = QDir(folder).filePath(temporaryName);
    {
        QFile probe(temporaryPath);
        if (!probe.open(QIODevice::WriteOnly)) {
            fail(QStringLiteral("cannot write OUTPUT %1: %2").arg(m_options.output, probe.errorString()));
            return ExitFailed;
        }
        probe.close();
        probe.remove();
    }

    Rq10Setup setup;
    QString error;
    if (!Rq10Setup::load(m_options.source, setup, error)) {
        fail(QStringLiteral("bad SOURCE: %1").arg(error));
        return ExitFailed;
    }
    const QString programDirectory = m_options.programDirectory;
    const QString descriptorPath =
        QDir(programDirectory).filePath(QString::fromLatin1(DescriptorList::RelativePath));
    std::vector<std::string> names;
    if (!DescriptorList::load(descriptorPath, names, error)) {
        fail(error);
        return ExitFailed;
    }
    const std::vector<std::string> order = DescriptorList::conversionOrder(names);
    m_summary.parameters = static_cast<int>(order.size());

    const std::string model = setup.model;
    MixerPtr source(new Rq10Mixer(std::move(setup)));

    m_progress.phase(QStringLiteral("starting the KX9 plug-in and its editor"));
    m_where = QStringLiteral("while starting");
    EditorWatch::adoptOrphans();
    PluginModule module(programDirectory);
    MixerPtr target(module.create(error));
    if (!target) {
        fail(error);
        return ExitFailed;
    }
    m_watch.start();
    // From here on the temporary file may appear; it never outlives a failure.
    FileRemover removeTemporary(temporaryPath);

    try {
        target->initParameterConverterFactory(source.get());
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        fail(QStringLiteral("the plug-in refused the source: %1").arg(describeException(*owned)));
        return ExitFailed;
    }
    if (!target->GetParameterConverterFactory()) {
        fail(QStringLiteral("SOURCE %1 is a setup of model \"%2\": the KX9 plug-in has no "
                            "conversion from that model")
                 .arg(m_options.source, QString::fromStdString(model)));
        return ExitFailed;
    }

    m_report.setFiles(QFileInfo(m_options.source).absoluteFilePath(), outputInfo.absoluteFilePath());
    LogFilter::setJournalSink([this](const QJsonObject& event) { m_report.journal(event); });
    struct SinkRelease {
        ~SinkRelease() { LogFilter::setJournalSink(nullptr); }
    } releaseSink;

    ConversionDescription description(
        FileDescription(QFileInfo(m_options.source).absoluteFilePath().toStdString(), kSourceFileType),
        FileDescription(outputInfo.absoluteFilePath().toStdString(), kTargetFileType), model,
        target->GetMixerId());

    const Step step = convertScenes(target.get(), source.get(), description, order);
    if (step == Step::Interrupted) {
        m_progress.finish();
        fail(QStringLiteral("interrupted; OUTPUT was not written"));
        return ExitInterrupted;
    }
    if (step == Step::Failed)
        return ExitFailed;

    m_progress.phase(QStringLiteral("saving %1").arg(m_options.output));
    m_where = QStringLiteral("while saving");
    QString saveFolder = folder;
    QString saveName = temporaryName;
    try {
        probeEditor(target.get());
        target->PostConversionSetup();
        target->SaveData(saveFolder, saveName);
        checkGone();
    } catch (const EditorLost& lost) {
        editorLost(lost);
        return ExitFailed;
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        fail(QStringLiteral("saving failed: %1").arg(describeException(*owned)));
        return ExitFailed;
    }
    const QFileInfo saved(temporaryPath);
    if (!saved.isFile() || saved.size() == 0) {
        fail(QStringLiteral("the KX9 editor did not save %1 (run with -v for the plug-in's log)")
                 .arg(m_options.output));
        return ExitFailed;
    }
    if (InterruptGuard::interrupted()) {
        fail(QStringLiteral("interrupted; OUTPUT was not written"));
        return ExitInterrupted;
    }
    if (::rename(QFile::encodeName(temporaryPath).constData(),
                 QFile::encodeName(outputInfo.absoluteFilePath()).constData())
        != 0) {
        fail(QStringLiteral("cannot write OUTPUT %1: %2")
                 .arg(m_options.output, QString::fromLocal8Bit(std::strerror(errno))));
        return ExitFailed;
    }
    removeTemporary.release();

    m_summary.editorCommands = LogFilter::editorCommands();
    if (wantsConsole())
        readConsole(target.get(), outputInfo.absoluteFilePath());
    target.reset();
    source.reset();
    m_summary.landed = m_report.totalLanded();
    m_summary.refused = m_report.totalRefused();
    m_summary.noPlace = m_report.total(&ConversionReport::Scene::noPlace);
    m_summary.toEmptyUnits = m_report.total(&ConversionReport::Scene::toEmptyUnits);
    for (const QString& report : m_options.reports) {
        QString reportError;
        if (!m_report.write(report, &reportError)) {
            fail(QStringLiteral("cannot write the report %1: %2").arg(report, reportError));
            return ExitFailed;
        }
    }
    m_summary.seconds = clock.elapsed() / 1000.0;
    // The editor ends with Destroy; it is waited for only briefly.
    m_summary.editorKnown = m_watch.waitForExit(EditorEndMs)
                            && m_watch.usage(m_summary.editorCpuSeconds, m_summary.editorMaxRssKiB);
    struct rusage self = {};
    ::getrusage(RUSAGE_SELF, &self);
    m_summary.cpuSeconds = double(self.ru_utime.tv_sec + self.ru_stime.tv_sec)
                           + double(self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1e6;
    m_summary.maxRssKiB = self.ru_maxrss;
    m_progress.finish();
    const std::string text = formatSummary(m_summary, m_options.source, m_options.output);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return ExitOk;
}

bool ConvertCommand::wantsConsole() const
{
    for (const QString& report : m_options.reports) {
        if (!report.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void ConvertCommand::readConsole(IMixer* target, const QString& output)
{
    // The file as saved, loaded again into the same editor: what the page
    // draws is what the file holds, at the cost of one load and a block read
    // per strip parameter, not of a second editor.
    m_progress.phase(QStringLiteral("reading %1 back for the report").arg(m_options.output));
    LogFilter::setJournalSink(nullptr);   // the read-back's own writes are no part of the conversion
    ConsoleReader reader(m_options.programDirectory, target);
    QString error;
    QVector<SceneView> views;
    try {
        if (reader.start(error) && reader.load(output, error)) {
            const QVector<SceneHeader> scenes = reader.scenes();
            const QVector<QStringList> names = reader.currentNames();
            for (const SceneHeader& scene : scenes) {
                if (InterruptGuard::interrupted())
                    return;
                views.append(reader.view(scene, names));
            }
            checkGone();
        }
    } catch (const EditorLost& lost) {
        error = QStringLiteral("the KX9 editor %1").arg(lost.cause);
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        error = owned ? describeException(*owned) : QStringLiteral("the plug-in threw");
    }
    if (!error.isEmpty()) {
        warn(QStringLiteral("the report shows no strips: reading %1 back failed: %2").arg(m_options.output, error));
        return;
    }
    m_report.setConsole(views);
}

void ConvertCommand::editorLost(const EditorLost& lost)
{
    fail(QStringLiteral("the KX9 editor %1 %2%3; OUTPUT was not written")
             .arg(lost.cause, m_where,
                  lost.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(lost.detail)));
    // A hung editor would hold the plug-in's shut-down to its time-outs and
    // then stay behind; once gone, the plug-in lets go of it at once.
    if (!m_watch.exited())
        m_watch.release(0);
}

void ConvertCommand::checkGone()
{
    if (!m_watch.exited() && !LogFilter::editorGone())
        return;
    if (m_watch.waitForExit(ExitNoticeMs))
        throw EditorLost{m_watch.cause(), QString()};
    throw EditorLost{QStringLiteral("closed its connection"), QString()};
}

void ConvertCommand::probeEditor(IMixer* target)
{
    // A scene-information read always reaches the editor (nothing caches it):
    // a healthy editor answers within milliseconds.
    timed(target, [target] { target->LibraryHasValidData(0); });
}

template <typename Call>
void ConvertCommand::timed(IMixer* target, Call call)
{
    QElapsedTimer clock;
    clock.start();
    call();
    checkGone();
    if (clock.elapsed() > m_options.stallMs)
        checkEditor(target);
}

void ConvertCommand::checkEditor(IMixer* target)
{
    // The scene list is read from the editor row by row, and the plug-in
    // throws when a row cannot be read: unlike the value fall-backs, a
    // failure here cannot be mistaken for data.
    std::vector<unsigned int> scenes(501, 0);
    unsigned int count = static_cast<unsigned int>(scenes.size());
    try {
        target->GetSceneList(count, scenes.data());
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        throw EditorLost{QStringLiteral("stopped answering"), owned ? describeException(*owned) : QString()};
    } catch (const std::exception& e) {
        throw EditorLost{QStringLiteral("stopped answering"), describeException(e)};
    }
}

ConvertCommand::Step ConvertCommand::convertScenes(IMixer* target, IMixer* source,
                                                    ConversionDescription& description,
                                                    const std::vector<std::string>& order)
{
    std::vector<unsigned int> scenes(Rq10Setup::MaxSceneNumber + 1, 0);
    unsigned int count = static_cast<unsigned int>(scenes.size());
    source->GetSceneList(count, scenes.data());
    scenes.resize(count);
    m_summary.scenes = static_cast<int>(scenes.size());

    try {
        m_progress.phase(QStringLiteral("loading the initial data into the editor"));
        m_where = QStringLiteral("while loading the initial data");
        timed(target, [target] { target->PreConversionSetup(); });
        for (std::size_t i = 0; i < scenes.size(); ++i) {
            const int number = static_cast<int>(scenes[i]);
            QElapsedTimer sceneClock;
            sceneClock.start();
            const long long writtenBefore = m_summary.written;
            const long long leftBefore = m_summary.leftAlone;
            const QString title = QString::fromStdString(source->GetTitle(number));
            m_where = QStringLiteral("during scene %1 of %2").arg(i + 1).arg(scenes.size());
            m_progress.beginScene(static_cast<int>(i), static_cast<int>(scenes.size()), number, title,
                                  static_cast<int>(order.size()));
            m_report.beginScene(number, title);
            source->SetCurrentSceneMemory(number);
            timed(target, [&] { target->ResetMixerMemory(&description); });
            for (std::size_t p = 0; p < order.size(); ++p) {
                if (InterruptGuard::interrupted())
                    return Step::Interrupted;
                convertParameter(target, source, description, order[p]);
                m_progress.parameter(static_cast<int>(p + 1), QString::fromStdString(order[p]));
            }
            if (InterruptGuard::interrupted())
                return Step::Interrupted;
            timed(target, [&] {
                target->StoreCurrentSceneMemory(number);
                copySceneInformation(target, source, number);
            });
            m_report.endScene();
            m_progress.endScene(m_summary.written - writtenBefore, m_summary.leftAlone - leftBefore,
                                sceneClock.elapsed() / 1000.0);
        }
        if (InterruptGuard::interrupted())
            return Step::Interrupted;
        m_progress.phase(QStringLiteral("copying the name lists"));
        m_where = QStringLiteral("while copying the name lists");
        timed(target, [&] { copyNameLists(target, source); });
    } catch (const EditorLost& lost) {
        editorLost(lost);
        return Step::Failed;
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        m_progress.finish();
        fail(QStringLiteral("conversion failed: %1").arg(describeException(*owned)));
        return Step::Failed;
    } catch (const std::exception& e) {
        m_progress.finish();
        fail(QStringLiteral("conversion failed: %1").arg(describeException(e)));
        return Step::Failed;
    }
    return Step::Done;
}

void ConvertCommand::convertParameter(IMixer* target, IMixer* source,
                                      ConversionDescription& description, const std::string& name)
{
    const QString where = QString::fromStdString(name);
    try {
        ConverterPtr converter(target->GetConverter(name, source, &description, false));
        if (!converter) {
            warn(QStringLiteral("%1: the plug-in made no converter").arg(where));
            ++m_summary.failed;
            return;
        }
        ++m_summary.converters;
        // A stalled editor shows as a long run of calls; reading the clock
        // for every value would cost more than many of the values.
        constexpr int CallsPerCheck = 32;
        QElapsedTimer calls;
        calls.start();
        int unchecked = 0;
        for (int channel = converter->GetStart(); channel <= converter->GetEnd(); ++channel) {
            for (int sub = converter->SubIndexStart(); sub <= converter->SubIndexEnd(); ++sub) {
                if (converter->Convert(channel, sub)) {
                    ++m_summary.written;
                    m_report.written(name, channel);
                } else {
                    ++m_summary.leftAlone;
                    m_report.leftAlone();
                }
                checkGone();
                if (++unchecked < CallsPerCheck)
                    continue;
                if (calls.restart() > m_options.stallMs)
                    checkEditor(target);
                unchecked = 0;
            }
        }
        if (unchecked > 0 && calls.elapsed() > m_options.stallMs)
            checkEditor(target);
    } catch (const EditorLost&) {
        throw;
    } catch (ParameterNotFoundException* e) {
        std::unique_ptr<ParameterNotFoundException> owned(e);
        // The usual case: a KX9 parameter that the RQ10 does not have.
        if (owned && owned->mixerId() == source->GetMixerId()) {
            ++m_summary.notInSource;
            m_report.notInSource(name);
            return;
        }
        ++m_summary.failed;
        warn(QStringLiteral("%1: %2").arg(where, owned ? describeException(*owned) : QString()));
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        ++m_summary.failed;
        warn(QStringLiteral("%1: %2").arg(where, owned ? describeException(*owned) : QString()));
    } catch (const std::exception& e) {
        ++m_summary.failed;
        warn(QStringLiteral("%1: %2").arg(where, describeException(e)));
    }
}

void ConvertCommand::copySceneInformation(IMixer* target, IMixer* source, int scene)
{
    // After the store: storing gives a scene the console's own title,
    // comment and time, which the source's then replace.
    std::string title = source->GetTitle(scene);
    std::string comment = source->GetComment(scene);
    target->SetTitle(title, scene);
    target->SetComment(comment, scene);
    const DateTime time = source->GetDateTime(scene);
    const bool known = time.year || time.month || time.day || time.hour || time.minute || time.second;
    if (known)
        target->SetDateTime(time, scene);
    target->SetProtect(source->GetProtect(scene), scene);
}

void ConvertCommand::copyNameLists(IMixer* target, IMixer* source)
{
    const int lists = source->GetNameParameterNum();
    for (int i = 0; i < lists; ++i) {
        QStringList list;
        source->GetNameParameterList(i, list);
        if (list.isEmpty())
            continue;
        target->SetNameParameterList(list, list.first().toStdString());
        ++m_summary.nameLists;
    }
}

std::string ConvertCommand::formatSummary(const Summary& s, const QString& source,
                                          const QString& output)
{
    const long long perScene = s.scenes > 0 ? s.notInSource / s.scenes : 0;
    QString text;
    text += QStringLiteral("Converted %1 -> %2\n").arg(source, output);
    text += QStringLiteral("  scenes                 %1\n").arg(s.scenes, 8);
    text += QStringLiteral("  parameters             %1 per scene (%2 without an RQ10 source)\n")
                .arg(s.parameters, 8)
                .arg(perScene);
    text += QStringLiteral("  values written         %1\n").arg(s.written, 8);
    text += QStringLiteral("    landed               %1\n").arg(s.landed, 8);
    text += QStringLiteral("    refused by the KX9   %1\n").arg(s.refused, 8);
    text += QStringLiteral("    no place on a rack   %1%2\n")
                .arg(s.noPlace, 8)
                .arg(s.toEmptyUnits > 0 ? QStringLiteral(" (%1 to units without a type)").arg(s.toEmptyUnits)
                                        : QString());
    text += QStringLiteral("  left alone by filters  %1\n").arg(s.leftAlone, 8);
    if (s.failed > 0)
        text += QStringLiteral("  failed converters      %1\n").arg(s.failed, 8);
    text += QStringLiteral("  name lists             %1\n").arg(s.nameLists, 8);
    text += QStringLiteral("  editor commands        %1\n").arg(s.editorCommands, 8);
    text += QStringLiteral("  elapsed                %1 s\n").arg(s.seconds, 8, 'f', 1);
    const QString editor = QStringLiteral(", editor %1");
    text += QStringLiteral("  CPU                    %1 s%2\n")
                .arg(s.cpuSeconds, 8, 'f', 1)
                .arg(s.editorKnown ? editor.arg(s.editorCpuSeconds, 0, 'f', 1) + QStringLiteral(" s") : QString());
    text += QStringLiteral("  peak memory            %1 MiB%2\n")
                .arg(s.maxRssKiB / 1024.0, 8, 'f', 1)
                .arg(s.editorKnown ? editor.arg(s.editorMaxRssKiB / 1024.0, 0, 'f', 1) + QStringLiteral(" MiB")
                                   : QString());
    return text.toStdString();
}
