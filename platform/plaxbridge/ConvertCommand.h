#pragma once

#include "ConversionReport.h"
#include "EditorWatch.h"
#include "ProgressReporter.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class IMixer;
class ConversionDescription;

// `plaxbridge convert SOURCE OUTPUT.KX9F`: converts an RQ10 setup into a KX9
// console file through the plug-in, as the host does. The file is saved
// under a temporary name in OUTPUT's folder and renamed at the very end, so
// OUTPUT is either the complete result or untouched.
class ConvertCommand {
public:
    struct Options {
        QString source;
        QString output;
        QString programDirectory;   // where libqora.so, KX9.ini and KX9/ live
        ProgressReporter::Mode progress = ProgressReporter::Mode::Auto;
        // Report files: JSON for a ".json" name, an HTML page otherwise.
        QStringList reports;
        // A plug-in call that takes longer than this makes the host check
        // that the editor still answers.
        int stallMs = 1000;
    };

    struct Summary {
        int scenes = 0;
        int parameters = 0;              // descriptor names per scene
        long long converters = 0;        // converters run, all scenes
        long long notInSource = 0;       // names without an RQ10 source parameter, all scenes
        long long failed = 0;            // converters that threw, all scenes
        long long written = 0;
        long long landed = 0;
        long long refused = 0;
        long long noPlace = 0;
        long long toEmptyUnits = 0;
        long long leftAlone = 0;
        int nameLists = 0;
        long long editorCommands = 0;
        double seconds = 0.0;
        // Both processes' CPU time and peak memory; editorKnown when the
        // editor ended in time to tell.
        double cpuSeconds = 0.0;
        long maxRssKiB = 0;
        bool editorKnown = false;
        double editorCpuSeconds = 0.0;
        long editorMaxRssKiB = 0;
    };

    explicit ConvertCommand(Options options);

    // Exit status: 0 success, 1 conversion failed, 130 interrupted. Problems
    // go to standard error, the summary to standard output.
    int run();

    const Summary& summary() const { return m_summary; }

    static std::string formatSummary(const Summary& summary, const QString& source,
                                     const QString& output);

private:
    enum class Step { Done, Failed, Interrupted };
    struct EditorLost;

    Step convertScenes(IMixer* target, IMixer* source, ConversionDescription& description,
                       const std::vector<std::string>& order);
    void convertParameter(IMixer* target, IMixer* source, ConversionDescription& description,
                          const std::string& name);
    void copySceneInformation(IMixer* target, IMixer* source, int scene);
    void copyNameLists(IMixer* target, IMixer* source);
    // The editor is checked only when a plug-in call was slow: a healthy
    // editor answers within milliseconds, a silent one only after the
    // plug-in's command time-out, and the check then saves every later call
    // from waiting for that time-out too. Healthy conversions pay one cheap
    // call, before saving (batched writes may not have reached the editor).
    template <typename Call>
    void timed(IMixer* target, Call call);
    void probeEditor(IMixer* target);
    // Throws EditorLost when the editor no longer answers.
    void checkEditor(IMixer* target);
    // Throws EditorLost when the editor has ended or closed its connection:
    // the plug-in then answers every call at once with a fall-back, which
    // the conversion must not take for data.
    void checkGone();
    // Names the cause and where it came; a hung editor is killed.
    void editorLost(const EditorLost& lost);
    // An HTML report draws the written file's strips.
    bool wantsConsole() const;
    void readConsole(IMixer* target, const QString& output);
    void warn(const QString& text);
    void fail(const QString& message);

    Options m_options;
    Summary m_summary;
    ConversionReport m_report;
    ProgressReporter m_progress;
    int m_warnings = 0;
    QString m_where;   // "during scene 3 of 30", for the editor's failure
    EditorWatch m_watch;
};
