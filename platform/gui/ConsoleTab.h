#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QString>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTemporaryDir;
class StripPicture;

// The "Console" tab: what a KX9 file holds, as `plaxbridge show --json`
// reads it, drawn scene by scene as strips; and `plaxbridge diff` of that
// file against another. Both run in child processes, as conversions do, so
// the window never waits on the plug-in or its editor.
class ConsoleTab : public QWidget {
    Q_OBJECT

public:
    explicit ConsoleTab(const QString& plaxbridge, QWidget* parent = nullptr);
    ~ConsoleTab() override;

    // Reads the file (a running read or comparison is stopped first).
    void showFile(const QString& path);
    void clear();
    // Compares the file on show (A) with `other` (B).
    void compareWith(const QString& other);
    bool isBusy() const;

signals:
    // A read or a comparison ended (the labels say how).
    void finished();

private:
    void chooseOther();
    void showScene(int index);
    void readEnded(int exitCode, QProcess::ExitStatus status);
    void compareEnded(int exitCode, QProcess::ExitStatus status);
    void failedToStart(QProcess* process);
    void stop();
    void updateControls();

    QString m_plaxbridge;
    QString m_file;
    QProcess m_show;
    QProcess m_diff;
    std::unique_ptr<QTemporaryDir> m_folder;
    QJsonArray m_shown;
    QLabel* m_status;
    QComboBox* m_scene;
    QPushButton* m_compare;
    QLabel* m_result;
    QPlainTextEdit* m_differences;
    StripPicture* m_picture;
};
