#pragma once

#include <QString>
#include <QWidget>

class ConsoleTab;
class ConversionRun;
class QJsonObject;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTextBrowser;

// The window of plaxbridge-gui: an RQ10 setup in, a KX9 file out, the
// conversion run by a child plaxbridge, its progress, outcome and report, and
// the console the written file holds.
class ConvertWindow : public QWidget {
    Q_OBJECT

public:
    // `plaxbridge`: the program that converts.
    explicit ConvertWindow(const QString& plaxbridge, QWidget* parent = nullptr);
    ~ConvertWindow() override;

    // Also proposes the output: the setup's name with .KX9F, beside it,
    // unless an output was chosen by hand.
    void setSource(const QString& path);
    void setOutput(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseSource();
    void chooseOutput();
    void convert();
    void cancel();
    void showProgress(double overall, double scene);
    void showOutcome();
    // Loads a report page into the browser; false when there is none.
    bool showReport(const QString& htmlPath);
    // The child's messages, when there is no report (a failure).
    void showMessages();
    // The summary's numbers in one sentence.
    static QString summaryText(const QJsonObject& summary);
    void openOutputFolder();
    void saveReport();
    void updateControls();
    QString rememberedFolder(const QString& key, const QString& fallback) const;
    void rememberFolder(const QString& key, const QString& path);

    ConversionRun* m_run;
    QLineEdit* m_source;
    QLineEdit* m_output;
    QPushButton* m_chooseSource;
    QPushButton* m_chooseOutput;
    QPushButton* m_convert;
    QPushButton* m_cancel;
    QLabel* m_status;
    QProgressBar* m_overall;
    QProgressBar* m_scene;
    QLabel* m_headline;
    QTabWidget* m_tabs;
    QTextBrowser* m_report;
    ConsoleTab* m_console;
    QPushButton* m_openFolder;
    QPushButton* m_saveReport;
    QString m_proposedOutput;   // the output derived from the setup, while untouched
    bool m_closeWhenDone = false;
};
