#include "ConsoleTab.h"

#include "StripPicture.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace {

// diff's exit statuses, as diff(1)'s.
constexpr int DiffEqual = 0;
constexpr int DiffDifferent = 1;

QString lastLines(const QByteArray& output)
{
    const QStringList lines = QString::fromLocal8Bit(output).trimmed().split(QLatin1Char('\n'));
    return lines.mid(qMax(0, lines.size() - 3)).join(QLatin1Char(' '));
}

} // namespace

ConsoleTab::ConsoleTab(const QString& plaxbridge, QWidget* parent)
    : QWidget(parent)
    , m_plaxbridge(plaxbridge)
    , m_status(new QLabel(this))
    , m_scene(new QComboBox(this))
    , m_compare(new QPushButton(tr("Co&mpare with…"), this))
    , m_result(new QLabel(this))
    , m_differences(new QPlainTextEdit(this))
    , m_picture(new StripPicture(this))
{
    m_status->setObjectName(QStringLiteral("consoleStatus"));
    m_scene->setObjectName(QStringLiteral("consoleScene"));
    m_compare->setObjectName(QStringLiteral("compare"));
    m_result->setObjectName(QStringLiteral("compareResult"));
    m_differences->setObjectName(QStringLiteral("differences"));
    m_picture->setObjectName(QStringLiteral("strips"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_result->setWordWrap(true);
    m_compare->setToolTip(tr("Compare this KX9 file with another, scene by scene and channel by channel"));
    m_differences->setReadOnly(true);
    m_differences->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_differences->hide();

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_picture);
    scroll->setWidgetResizable(true);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(scroll);
    split->addWidget(m_differences);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto* top = new QHBoxLayout;
    auto* sceneLabel = new QLabel(tr("Sce&ne:"), this);
    sceneLabel->setBuddy(m_scene);
    top->addWidget(sceneLabel);
    top->addWidget(m_scene, 1);
    top->addWidget(m_compare);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_status);
    layout->addLayout(top);
    layout->addWidget(m_result);
    layout->addWidget(split, 1);

    connect(m_scene, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ConsoleTab::showScene);
    connect(m_compare, &QPushButton::clicked, this, &ConsoleTab::chooseOther);
    connect(&m_show, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &ConsoleTab::readEnded);
    connect(&m_diff, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &ConsoleTab::compareEnded);
    for (QProcess* process : {&m_show, &m_diff}) {
        connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                failedToStart(process);
        });
    }
    clear();
}

ConsoleTab::~ConsoleTab()
{
    stop();
}

void ConsoleTab::stop()
{
    // A read holds an editor; ending the child ends it (the plug-in's own
    // shut-down on SIGTERM), then it is killed if it lingers.
    for (QProcess* process : {&m_show, &m_diff}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->blockSignals(true);
        process->terminate();
        if (!process->waitForFinished(3000))
            process->kill();
        process->waitForFinished(1000);
        process->blockSignals(false);
    }
}

bool ConsoleTab::isBusy() const
{
    return m_show.state() != QProcess::NotRunning || m_diff.state() != QProcess::NotRunning;
}

void ConsoleTab::clear()
{
    stop();
    m_file.clear();
    m_shown = QJsonArray();
    m_scene->clear();
    m_picture->setScene(QJsonObject());
    m_status->setText(tr("The console of the KX9 file appears here after a conversion."));
    m_result->clear();
    m_differences->clear();
    m_differences->hide();
    updateControls();
}

void ConsoleTab::showFile(const QString& path)
{
    clear();
    m_file = path;
    m_folder = std::make_unique<QTemporaryDir>();
    m_status->setText(tr("Reading %1…").arg(QFileInfo(path).fileName()));
    m_show.start(m_plaxbridge, {QStringLiteral("show"), path, QStringLiteral("--json"), m_folder->filePath(QStringLiteral("show.json"))});
    updateControls();
}

void ConsoleTab::readEnded(int exitCode, QProcess::ExitStatus status)
{
    QFile file(m_folder ? m_folder->filePath(QStringLiteral("show.json")) : QString());
    const QJsonObject view = status == QProcess::NormalExit && exitCode == 0 && file.open(QIODevice::ReadOnly)
                                 ? QJsonDocument::fromJson(file.readAll()).object()
                                 : QJsonObject();
    m_shown = view.value(QStringLiteral("shown")).toArray();
    if (m_shown.isEmpty()) {
        m_status->setText(tr("Could not read %1: %2")
                              .arg(QFileInfo(m_file).fileName(),
                                   status == QProcess::NormalExit ? lastLines(m_show.readAllStandardError())
                                                                  : tr("plaxbridge stopped unexpectedly")));
    } else {
        m_status->setText(tr("%1: %2 scenes. A grey name is the current memory's (the scene holds none); faders "
                             "from -60 dB (bottom) to +10 dB.")
                              .arg(QFileInfo(m_file).fileName())
                              .arg(view.value(QStringLiteral("scenes")).toArray().size()));
        const QSignalBlocker quiet(m_scene);
        for (const QJsonValue& value : m_shown) {
            const QJsonObject scene = value.toObject();
            const int number = scene.value(QStringLiteral("number")).toInt();
            m_scene->addItem(number < 0 ? tr("Current memory")
                                        : scene.value(QStringLiteral("scene")).toString() + QStringLiteral("  ")
                                              + scene.value(QStringLiteral("title")).toString());
        }
        // The first stored scene, not the current memory (the last one stored).
        m_scene->setCurrentIndex(m_shown.size() > 1 ? 1 : 0);
    }
    showScene(m_scene->currentIndex());
    m_folder.reset();
    updateControls();
    emit finished();
}

void ConsoleTab::showScene(int index)
{
    m_picture->setScene(index >= 0 && index < m_shown.size() ? m_shown.at(index).toObject() : QJsonObject());
}

void ConsoleTab::chooseOther()
{
    const QString other = QFileDialog::getOpenFileName(this, tr("Compare with a KX9 file"),
                                                       QFileInfo(m_file).absolutePath(),
                                                       tr("KX9 console files (*.KX9F);;All files (*)"));
    if (!other.isEmpty())
        compareWith(other);
}

void ConsoleTab::compareWith(const QString& other)
{
    if (m_file.isEmpty() || isBusy())
        return;
    m_result->setText(tr("Comparing with %1…").arg(other));
    m_differences->clear();
    m_differences->hide();
    m_diff.setProperty("other", other);
    m_diff.start(m_plaxbridge, {QStringLiteral("diff"), m_file, other});
    updateControls();
}

void ConsoleTab::compareEnded(int exitCode, QProcess::ExitStatus status)
{
    const QString other = m_diff.property("other").toString();
    const QString output = QString::fromUtf8(m_diff.readAllStandardOutput());
    if (status == QProcess::NormalExit && exitCode == DiffEqual) {
        m_result->setText(tr("Equal: %1 holds the same as %2.").arg(QFileInfo(m_file).fileName(), other));
    } else if (status == QProcess::NormalExit && exitCode == DiffDifferent) {
        m_result->setText(tr("Different: %1 and %2 differ (below).").arg(QFileInfo(m_file).fileName(), other));
        m_differences->setPlainText(output);
        m_differences->show();
    } else {
        m_result->setText(tr("Error: could not compare with %1: %2")
                              .arg(other, status == QProcess::NormalExit ? lastLines(m_diff.readAllStandardError())
                                                                         : tr("plaxbridge stopped unexpectedly")));
    }
    updateControls();
    emit finished();
}

void ConsoleTab::failedToStart(QProcess* process)
{
    const QString message = tr("Cannot start %1: %2").arg(m_plaxbridge, process->errorString());
    (process == &m_show ? m_status : m_result)->setText(message);
    updateControls();
    emit finished();
}

void ConsoleTab::updateControls()
{
    m_scene->setEnabled(m_scene->count() > 0);
    m_compare->setEnabled(!m_file.isEmpty() && !isBusy() && !m_shown.isEmpty());
}
