#pragma once

#include "host/DateTime.h"
#include "host/IConversionDescription.h"
#include "host/IFileDescription.h"

#include <gtest/gtest.h>

#include <QJsonObject>
#include <QList>
#include <QMap>
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
    static QString realEditor(); // $QORA_BIN_DIR/qora-editor

    // The mixer tests pin the strict mode's wire forms unless they ask for
    // the default ("batched").
    explicit EditorHarness(const QString& editorPath = realEditor(), const QString& extraOptions = QString(),
                           const QString& wireMode = QStringLiteral("strict"));
    ~EditorHarness();

    IMixer* create(); // QORA::create(); the test fails on null
    // Destroy, then wait until no editor started by this program is left.
    bool destroy(IMixer* mixer);

    // The requests the editor logged (their "request" objects), in order.
    QList<QJsonObject> requests() const;
    QList<QJsonObject> requestsSince(int mark) const { return requests().mid(mark); }
    int mark() const { return requests().size(); }

    static int editorsRunning(); // started from this program's directory
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
    static EditorHarness& harness() { return *s_harness; }
    static EditorHarness* s_harness;
    static IMixer* mixer;
    static void restart();

    IParameter* parameter(const char* name); // released after the test
    void SetUp() override;
    void TearDown() override;

private:
    friend class SharedEditorEnvironment;
    std::vector<IParameter*> m_owned;
};

// The Qt log lines written since it was made (or last cleared).
class LogCapture
{
public:
    LogCapture();
    QStringList lines() const;
    bool contains(const QString& line) const { return lines().contains(line); }
    void clear();

private:
    int m_from;
};

// Accessors for a logged request.
QString commandOf(const QJsonObject& request);
QJsonObject infoOf(const QJsonObject& request);
QString addressOf(const QJsonObject& request);
QList<QJsonObject> listOf(const QJsonObject& request);
QList<QJsonObject> withCommand(const QList<QJsonObject>& requests, const QString& cmd);
inline std::array<int, 6> fieldsOf(const DateTime& t) { return {t.year, t.month, t.day, t.hour, t.minute, t.second}; }

// A conversion from an RQ10 file of the given type with the given options;
// it records the options asked for.
class Conversion : public IConversionDescription, public IFileDescription
{
public:
    explicit Conversion(std::string fileType = "RQ10F", QMap<QString, int> options = {})
        : type(std::move(fileType))
        , options(std::move(options))
    {
    }
    IFileDescription* GetSource() const override { return const_cast<Conversion*>(this); }
    IFileDescription* GetTarget() const override { return nullptr; }
    std::string GetSourceMixerId() const override { return "RQ10"; }
    std::string GetTargetMixerId() const override { return "QORA"; }
    void SetOption(QString name, int state) override { options[name] = state; }
    int GetOption(QString name) const override { return asked.append(name), options.value(name, -1); }
    std::string GetPath() const override { return "/nowhere/source"; }
    std::string GetFileType() const override { return type; }

    std::string type;
    QMap<QString, int> options;
    mutable QStringList asked;
};
