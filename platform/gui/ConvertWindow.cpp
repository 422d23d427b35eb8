#include "ConvertWindow.h"

#include "ConsoleTab.h"
#include "ConversionRun.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int BarSteps = 1000;
const char kSetupFolder[] = "folders/setup";
const char kOutputFolder[] = "folders/output";
const char kReportFolder[] = "folders/report";

QString localFileOf(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty())
        return QString();
    const QUrl url = mime->urls().first();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

ConvertWindow::ConvertWindow(const QString& plaxbridge, QWidget* parent)
    : QWidget(parent)
    , m_run(new ConversionRun(plaxbridge, this))
    , m_source(new QLineEdit(this))
    , m_output(new QLineEdit(this))
    , m_chooseSource(new QPushButton(tr("&Open…"), this))
    , m_chooseOutput(new QPushButton(tr("Save &as…"), this))
    , m_convert(new QPushButton(tr("&Convert"), this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
    , m_status(new QLabel(this))
    , m_overall(new QProgressBar(this))
    , m_scene(new QProgressBar(this))
    , m_headline(new QLabel(this))
    , m_tabs(new QTabWidget(this))
    , m_report(new QTextBrowser(this))
    , m_console(new ConsoleTab(plaxbridge, this))
    , m_openFolder(new QPushButton(tr("Open output &folder"), this))
    , m_saveReport(new QPushButton(tr("Save &report…"), this))
{
    setWindowTitle(tr("Plaxbridge: RQ10 to KX9"));
    setAcceptDrops(true);
    m_source->setObjectName(QStringLiteral("source"));
    m_output->setObjectName(QStringLiteral("output"));
    m_convert->setObjectName(QStringLiteral("convert"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_status->setObjectName(QStringLiteral("status"));
    m_overall->setObjectName(QStringLiteral("overall"));
    m_scene->setObjectName(QStringLiteral("scene"));
    m_headline->setObjectName(QStringLiteral("headline"));
    m_report->setObjectName(QStringLiteral("report"));
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_console->setObjectName(QStringLiteral("console"));
    m_openFolder->setObjectName(QStringLiteral("openFolder"));
    m_saveReport->setObjectName(QStringLiteral("saveReport"));

    m_source->setPlaceholderText(tr("an RQ10 setup (.json): type a path, choose one, or drop it here"));
    m_output->setPlaceholderText(tr("the KX9 console file to write (.KX9F)"));
    m_cancel->setToolTip(tr("Stop the conversion (Esc); nothing is written"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_headline->setWordWrap(true);
    m_headline->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_report->setOpenExternalLinks(true);
    m_report->setPlaceholderText(
        tr("Choose an RQ10 setup (or drop it on this window) and a KX9 file, then Convert."));
    for (QProgressBar* bar : {m_overall, m_scene}) {
        bar->setRange(0, BarSteps);
        bar->setValue(0);
    }

    auto* sourceLabel = new QLabel(tr("RQ10 &setup:"), this);
    sourceLabel->setBuddy(m_source);
    auto* outputLabel = new QLabel(tr("&KX9 file:"), this);
    outputLabel->setBuddy(m_output);
    auto* files = new QGridLayout;
    files->addWidget(sourceLabel, 0, 0);
    files->addWidget(m_source, 0, 1);
    files->addWidget(m_chooseSource, 0, 2);
    files->addWidget(outputLabel, 1, 0);
    files->addWidget(m_output, 1, 1);
    files->addWidget(m_chooseOutput, 1, 2);

    auto* actions = new QHBoxLayout;
    actions->addWidget(m_convert);
    actions->addWidget(m_cancel);
    actions->addSpacing(12);
    actions->addWidget(m_status, 1);

    auto* bars = new QFormLayout;
    bars->addRow(tr("Overall:"), m_overall);
    bars->addRow(tr("Scene:"), m_scene);

    auto* results = new QHBoxLayout;
    results->addStretch(1);
    results->addWidget(m_openFolder);
    results->addWidget(m_saveReport);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addLayout(actions);
    layout->addLayout(bars);
    layout->addWidget(m_headline);
    m_tabs->addTab(m_report, tr("Repor&t"));
    m_tabs->addTab(m_console, tr("Consol&e"));
    layout->addWidget(m_tabs, 1);
    layout->addLayout(results);

    setTabOrder(m_source, m_chooseSource);
    setTabOrder(m_chooseSource, m_output);
    setTabOrder(m_output, m_chooseOutput);
    setTabOrder(m_chooseOutput, m_convert);
    setTabOrder(m_convert, m_cancel);
    setTabOrder(m_cancel, m_tabs);
    setTabOrder(m_tabs, m_openFolder);
    setTabOrder(m_openFolder, m_saveReport);

    connect(m_chooseSource, &QPushButton::clicked, this, &ConvertWindow::chooseSource);
    connect(m_chooseOutput, &QPushButton::clicked, this, &ConvertWindow::chooseOutput);
    connect(m_convert, &QPushButton::clicked, this, &ConvertWindow::convert);
    connect(m_cancel, &QPushButton::clicked, this, &ConvertWindow::cancel);
    connect(m_openFolder, &QPushButton::clicked, this, &ConvertWindow::openOutputFolder);
    connect(m_saveReport, &QPushButton::clicked, this, &ConvertWindow::saveReport);
    connect(m_source, &QLineEdit::textEdited, this, &ConvertWindow::setSource);
    connect(m_source, &QLineEdit::textChanged, this, &ConvertWindow::updateControls);
    connect(m_output, &QLineEdit::textChanged, this, &ConvertWindow::updateControls);
    for (QLineEdit* edit : {m_source, m_output})
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (m_convert->isEnabled())
                convert();
        });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &ConvertWindow::cancel);
    connect(m_run, &ConversionRun::statusChanged, m_status, &QLabel::setText);
    connect(m_run, &ConversionRun::progressChanged, this, &ConvertWindow::showProgress);
    connect(m_run, &ConversionRun::finished, this, &ConvertWindow::showOutcome);

    resize(960, 640);
    updateControls();
}

ConvertWindow::~ConvertWindow() = default;

void ConvertWindow::setSource(const QString& path)
{
    if (m_source->text() != path)
        m_source->setText(path);
    if (m_output->text().isEmpty() || m_output->text() == m_proposedOutput) {
        const QFileInfo info(path);
        m_proposedOutput = path.isEmpty() ? QString()
                                          : info.dir().filePath(info.completeBaseName() + QStringLiteral(".KX9F"));
        m_output->setText(m_proposedOutput);
    }
    updateControls();
}

void ConvertWindow::setOutput(const QString& path)
{
    m_output->setText(path);
}

void ConvertWindow::chooseSource()
{
    const QString start = m_source->text().isEmpty()
                              ? rememberedFolder(QLatin1String(kSetupFolder), QDir::homePath())
                              : m_source->text();
    const QString path = QFileDialog::getOpenFileName(this, tr("Choose an RQ10 setup"), start,
                                                      tr("RQ10 setups (*.json);;All files (*)"));
    if (path.isEmpty())
        return;
    rememberFolder(QLatin1String(kSetupFolder), QFileInfo(path).absolutePath());
    setSource(path);
}

void ConvertWindow::chooseOutput()
{
    QString start = m_output->text();
    if (start.isEmpty() || start == m_proposedOutput) {
        const QString name = start.isEmpty() ? QStringLiteral("setup.KX9F") : QFileInfo(start).fileName();
        const QString fallback = start.isEmpty() ? QDir::homePath() : QFileInfo(start).absolutePath();
        start = QDir(rememberedFolder(QLatin1String(kOutputFolder), fallback)).filePath(name);
    }
    QString path = QFileDialog::getSaveFileName(this, tr("Save the KX9 console file as"), start,
                                                tr("KX9 console files (*.KX9F)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".KX9F"), Qt::CaseInsensitive))
        path += QStringLiteral(".KX9F");
    rememberFolder(QLatin1String(kOutputFolder), QFileInfo(path).absolutePath());
    m_output->setText(path);
}

void ConvertWindow::convert()
{
    if (m_run->isRunning() || m_source->text().isEmpty() || m_output->text().isEmpty())
        return;
    m_headline->clear();
    m_report->clear();
    m_console->clear();
    m_report->setPlaceholderText(tr("The summary and the report appear here when the conversion ends."));
    m_run->start(m_source->text(), m_output->text());
    updateControls();
    m_cancel->setFocus();
}

void ConvertWindow::cancel()
{
    m_run->cancel();
    updateControls();
}

void ConvertWindow::showProgress(double overall, double scene)
{
    m_overall->setValue(static_cast<int>(overall * BarSteps + 0.5));
    m_scene->setValue(static_cast<int>(scene * BarSteps + 0.5));
}

void ConvertWindow::showOutcome()
{
    const ConversionRun::Outcome& outcome = m_run->outcome();
    const bool success = outcome.status == 0;
    m_status->setText(success ? tr("Done.") : QString());
    if (!success)
        m_scene->setValue(0);
    const QString color = success ? QStringLiteral("#1a6b1a") : QStringLiteral("#a01010");
    QString text = QStringLiteral("<b style=\"color:%1\">%2</b>").arg(color, outcome.headline.toHtmlEscaped());
    if (success)
        text += QStringLiteral("<br>") + summaryText(outcome.summary).toHtmlEscaped();
    m_headline->setText(text);
    if (!showReport(outcome.reportHtml))
        showMessages();
    if (success)
        m_console->showFile(outcome.output);
    updateControls();
    m_convert->setFocus();
    if (m_closeWhenDone)
        close();
}

bool ConvertWindow::showReport(const QString& htmlPath)
{
    QFile file(htmlPath);
    if (htmlPath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    // The page's strip pictures need CSS layout that rich text lacks; the
    // Console tab draws them. Each runs up to the next heading.
    static const QRegularExpression strips(QStringLiteral("<div class=\"console\".*?(?=<h2>)"),
                                           QRegularExpression::DotMatchesEverythingOption);
    m_report->setHtml(QString::fromUtf8(file.readAll()).remove(strips));
    return true;
}

void ConvertWindow::showMessages()
{
    const QStringList& messages = m_run->outcome().messages;
    m_report->setHtml(messages.isEmpty() ? QString()
                                         : QStringLiteral("<p>%1</p><pre>%2</pre>")
                                               .arg(tr("Messages from plaxbridge:"),
                                                    messages.join(QLatin1Char('\n')).toHtmlEscaped()));
}

QString ConvertWindow::summaryText(const QJsonObject& summary)
{
    const QLocale locale;
    auto number = [&](const char* key) {
        return locale.toString(static_cast<qlonglong>(summary.value(QLatin1String(key)).toDouble()));
    };
    QString text = tr("%1 scenes of %2 parameters; %3 values written: %4 landed, %5 refused by the KX9, "
                      "%6 with no place on a rack; %7 left alone by filters; %8 name lists; %9 s.")
                       .arg(number("scenes"), number("parameters"), number("written"), number("landed"),
                            number("refused"), number("noPlace"), number("leftAlone"), number("nameLists"))
                       .arg(summary.value(QLatin1String("seconds")).toDouble(), 0, 'f', 1);
    if (summary.value(QLatin1String("failed")).toDouble() > 0)
        text += QLatin1Char(' ') + tr("%1 converters failed (see the report's warnings).").arg(number("failed"));
    return text;
}

void ConvertWindow::openOutputFolder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(m_run->outcome().output).absolutePath()));
}

void ConvertWindow::saveReport()
{
    const ConversionRun::Outcome& outcome = m_run->outcome();
    if (outcome.reportHtml.isEmpty())
        return;
    const QFileInfo output(outcome.output);
    const QString name = output.completeBaseName() + QStringLiteral("-report.html");
    const QString fallback = output.absolutePath();
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save the report as"), QDir(rememberedFolder(QLatin1String(kReportFolder), fallback)).filePath(name),
        tr("Web page (*.html);;JSON (*.json)"));
    if (path.isEmpty())
        return;
    const bool json = path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) && !outcome.reportJson.isEmpty();
    QFile::remove(path);   // the dialog has asked before replacing it
    if (!QFile::copy(json ? outcome.reportJson : outcome.reportHtml, path)) {
        m_headline->setText(tr("Could not save the report as %1.").arg(path).toHtmlEscaped());
        return;
    }
    rememberFolder(QLatin1String(kReportFolder), QFileInfo(path).absolutePath());
}

void ConvertWindow::updateControls()
{
    const bool running = m_run->isRunning();
    const ConversionRun::Outcome& outcome = m_run->outcome();
    m_source->setEnabled(!running);
    m_output->setEnabled(!running);
    m_chooseSource->setEnabled(!running);
    m_chooseOutput->setEnabled(!running);
    m_convert->setEnabled(!running && !m_source->text().isEmpty() && !m_output->text().isEmpty());
    m_cancel->setEnabled(running && !outcome.cancelled);
    m_openFolder->setEnabled(!running && outcome.status == 0);
    m_saveReport->setEnabled(!running && !outcome.reportHtml.isEmpty());
}

void ConvertWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_run->isRunning() && !localFileOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ConvertWindow::dropEvent(QDropEvent* event)
{
    const QString path = localFileOf(event->mimeData());
    if (m_run->isRunning() || path.isEmpty())
        return;
    event->acceptProposedAction();
    rememberFolder(QLatin1String(kSetupFolder), QFileInfo(path).absolutePath());
    setSource(path);
}

void ConvertWindow::closeEvent(QCloseEvent* event)
{
    // The child releases the editor first; the window closes when it has.
    if (m_run->isRunning()) {
        m_closeWhenDone = true;
        cancel();
        event->ignore();
        return;
    }
    event->accept();
}

QString ConvertWindow::rememberedFolder(const QString& key, const QString& fallback) const
{
    const QString folder = QSettings().value(key).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void ConvertWindow::rememberFolder(const QString& key, const QString& path)
{
    QSettings().setValue(key, path);
}
