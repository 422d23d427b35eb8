#pragma once

#include <QElapsedTimer>
#include <QString>

class QJsonObject;

#include <cstdio>

// Progress of a conversion on standard error: a bar redrawn in place on a
// terminal, plain lines otherwise (one per phase and per scene), one JSON
// object per line for programs, or nothing.
class ProgressReporter {
public:
    enum class Mode { Auto, Bar, Lines, Json, None };

    explicit ProgressReporter(Mode mode, std::FILE* out = stderr);

    Mode mode() const { return m_mode; }

    // A phase outside the scenes ("starting the KX9 editor", "saving").
    void phase(const QString& text);
    void beginScene(int index, int count, int number, const QString& title, int parameters);
    // `done` parameters of the scene begun last are converted.
    void parameter(int done, const QString& name);
    void endScene(long long written, long long leftAlone, double seconds);
    // Clears the bar so that what follows starts on a fresh line.
    void finish();
    // A warning, or the cause of a failure: a JSON event in Json mode, else
    // a line "plaxbridge convert: [warning: ]TEXT" (None mode included).
    void warning(const QString& text);
    void error(const QString& text);
    // The last event of a conversion (Json mode only): its exit status and,
    // on success, the summary's numbers.
    void end(int status, const QJsonObject& summary);

    // "1.05" for the host scene number 105.
    static QString sceneText(int number);
    // A bar of `width` cells, "[#####.....]", for a fraction 0..1.
    static QString bar(double fraction, int width);

private:
    // The text as event `kind` (Json mode) or as a line after `prefix`.
    void message(const char* kind, const char* prefix, const QString& text);
    void drawBar(const QString& label);
    void line(const QString& text);
    void event(const char* name, QJsonObject fields);

    Mode m_mode;
    std::FILE* m_out;
    int m_sceneIndex = 0;
    int m_sceneCount = 1;
    int m_sceneNumber = 0;
    int m_parameters = 1;
    double m_sceneFraction = 0.0;   // of the whole conversion
    bool m_barShown = false;
    QElapsedTimer m_sinceDraw;
};
