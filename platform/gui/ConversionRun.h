#pragma once

#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>

class QTemporaryDir;

// One `plaxbridge convert --progress=json` in a child process, so that a
// crash or a hung editor never takes the window with it. Turns the child's
// events into progress signals and its end into an Outcome.
class ConversionRun : public QObject {
    Q_OBJECT

public:
    struct Outcome {
        QString source;
        QString output;
        int status = -1;            // the child's exit status; -1 when it crashed or never ran
        bool cancelled = false;
        QString headline;           // one sentence for the window
        QStringList messages;       // the child's lines for people (warnings, errors)
        QJsonObject summary;        // the numbers of a successful conversion
        QString summaryText;        // the summary as the child printed it
        QString reportHtml;         // empty when the child wrote no report
        QString reportJson;
    };

    explicit ConversionRun(QString program, QObject* parent = nullptr);
    ~ConversionRun() override;

    // The child's whole command line after the program name; the reports
    // go to reportFolder/report.html and reportFolder/report.json.
    static QStringList arguments(const QString& source, const QString& output,
                                 const QString& reportFolder);

    void start(const QString& source, const QString& output);
    // Asks the child to stop as after Ctrl-C (it releases the plug-in and the
    // editor and writes nothing); kills it when it does not end in time.
    void cancel();
    bool isRunning() const;
    const Outcome& outcome() const { return m_outcome; }
    QString program() const { return m_program; }

signals:
    void statusChanged(const QString& text);
    // Fractions 0..1 of the whole conversion and of the current scene.
    void progressChanged(double overall, double scene);
    void finished();

private:
    void readErrors();
    void handleLine(const QByteArray& line);
    void handleEvent(const QJsonObject& event);
    void onFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void onError(QProcess::ProcessError error);
    void conclude();
    QString headline() const;

    QString m_program;
    QProcess m_process;
    QTimer m_killTimer;
    std::unique_ptr<QTemporaryDir> m_reportFolder;
    QByteArray m_pending;   // standard error up to an unfinished line
    Outcome m_outcome;
    bool m_running = false;
    int m_sceneCount = 1;
};
