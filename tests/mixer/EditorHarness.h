#pragma once

#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <array>

struct DateTime;

class IMixer;

// Runs the plug-in's mixer against an editor program from a test: writes
// KX9.ini into the test program's own directory, passes editor options
// through QORA_EDITOR_OPTIONS (always with a request log), and reads back
// what the editor received. Removes what it wrote when it goes.
class EditorHarness
{
public:
    // The real editor program, $QORA_BIN_DIR/qora-editor.
    static QString realEditor();

    // The mixer tests pin the strict mode's wire forms unless they ask for
    // the default ("batched").
    explicit EditorHarness(const QString& editorPath = realEditor(), const QString& extraOptions = QString(),
                           const QString& wireMode = QStringLiteral("strict"));
    ~EditorHarness();

    // QORA::create(); the test fails when it returns null.
    IMixer* create();
    // Destroy, then wait until no editor started by this program is left.
    bool destroy(IMixer* mixer);

    // Every request the editor logged so far, as its inner object ("cmd",
    // "cmdinfo", ...), in arrival order.
    QList<QJsonObject> requests() const;
    // Requests logged after the mark.
    QList<QJsonObject> requestsSince(int mark) const;
    int mark() const { return requests().size(); }
    QString logPath() const { return m_logPath; }

    // Editor processes whose command line names this program's directory.
    static int editorsRunning();
    static QString workDir();

private:
    QString m_iniPath;
    QString m_logPath;
};

// Collects the Qt log lines written while it exists.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    QStringList lines() const;
    bool contains(const QString& line) const { return lines().contains(line); }
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text);
};

// Small accessors for a logged request.
QString commandOf(const QJsonObject& request);
QJsonObject infoOf(const QJsonObject& request);
QList<QJsonObject> listOf(const QJsonObject& request);
QList<QJsonObject> withCommand(const QList<QJsonObject>& requests, const QString& cmd);
// The six fields of a time stamp, for one comparison.
std::array<int, 6> fieldsOf(const DateTime& time);
