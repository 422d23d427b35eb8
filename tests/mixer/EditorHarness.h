#pragma once

#include "host/DateTime.h"

#include <gtest/gtest.h>

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class IMixer;
class IParameter;

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
    // "cmdinfo", ...), in arrival order; or those after a mark.
    QList<QJsonObject> requests() const;
    QList<QJsonObject> requestsSince(int mark) const { return requests().mid(mark); }
    int mark() const { return requests().size(); }

    // Editor processes whose command line names this program's directory.
    static int editorsRunning();
    static QString workDir();

private:
    QString m_iniPath;
    QString m_logPath;
};

// One real editor (strict wire mode) shared by every test of a program that
// links SharedEditor.cpp: made before the first test, destroyed after the
// last. Each test starts from scene 0, the initial memory with empty racks;
// a test of a new mixer's behaviour calls restart() first.
class SharedEditor : public ::testing::Test
{
protected:
    static EditorHarness& harness();
    static IMixer* mixer;
    static void restart();

    // A parameter of the mixer, released after the test.
    IParameter* parameter(const char* name);
    void SetUp() override;
    void TearDown() override;

private:
    friend class SharedEditorEnvironment;
    std::vector<IParameter*> m_owned;
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
QString addressOf(const QJsonObject& request);
QList<QJsonObject> listOf(const QJsonObject& request);
QList<QJsonObject> withCommand(const QList<QJsonObject>& requests, const QString& cmd);
// The six fields of a time stamp, for one comparison.
std::array<int, 6> fieldsOf(const DateTime& time);
