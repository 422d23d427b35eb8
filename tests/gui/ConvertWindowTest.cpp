// plaxbridge-gui driven through its widgets: a conversion of the sample by the
// built plaxbridge, a cancelled one, and failing ones. Screenshots of the
// window go to the build folder.
#include "ConsoleTab.h"
#include "ConversionRun.h"
#include "ConvertWindow.h"
#include "StripPicture.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QTabWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

namespace {

const QString kSample = QStringLiteral(QORA_SOURCE_DIR "/examples/rq10-festival.json");
constexpr int ConversionMs = 600000;   // generous: sanitizer builds are slow

QString plaxbridge()
{
    return QDir(qEnvironmentVariable("QORA_BIN_DIR")).filePath(QStringLiteral("plaxbridge"));
}

QStringList entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

} // namespace

class ConvertWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsTheSampleAndShowsTheSummary();
    void cancelLeavesNoOutput();
    void showsWhatWentWrongInTheWindow();

private:
    template <typename T>
    T* child(QWidget& window, const char* name)
    {
        T* widget = window.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    void screenshot(QWidget& window, const char* name)
    {
        window.layout()->activate();   // a label that just grew a line
        QDir().mkpath(QStringLiteral(QORA_SCREENSHOT_DIR));
        QVERIFY(window.grab().save(QStringLiteral(QORA_SCREENSHOT_DIR "/plaxbridge-gui-%1.png").arg(name)));
    }
};

void ConvertWindowTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);   // QSettings away from the user's
}

void ConvertWindowTest::convertsTheSampleAndShowsTheSummary()
{
    QTemporaryDir dir;
    ConvertWindow window(plaxbridge());
    window.resize(1280, 720);
    window.show();
    QVERIFY(window.minimumSizeHint().width() <= 1280 && window.minimumSizeHint().height() <= 720);
    auto* convert = child<QPushButton>(window, "convert");
    QVERIFY(!convert->isEnabled());

    // A dropped setup proposes its own name with .KX9F beside it.
    const QString setup = dir.filePath(QStringLiteral("rq10-festival.json"));
    QVERIFY(QFile::copy(kSample, setup));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(setup)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCOMPARE(child<QLineEdit>(window, "source")->text(), setup);
    const QString output = dir.filePath(QStringLiteral("rq10-festival.KX9F"));
    QCOMPARE(child<QLineEdit>(window, "output")->text(), output);
    QVERIFY(convert->isEnabled());
    screenshot(window, "before");

    auto* overall = child<QProgressBar>(window, "overall");
    auto* scene = child<QProgressBar>(window, "scene");
    // Caught as the bar moves: a scene may take less than a polling interval.
    QString status;
    connect(scene, &QProgressBar::valueChanged, this, [&] {
        if (status.isEmpty() && overall->value() > overall->maximum() / 3 && scene->value() > scene->maximum() / 4) {
            status = child<QLabel>(window, "status")->text();
            screenshot(window, "during");
        }
    });
    convert->click();
    QVERIFY(!convert->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!status.isEmpty(), ConversionMs);
    QCOMPARE(status, QStringLiteral("Scene 2 of 3 (2.00): Headliner"));
    QTRY_VERIFY_WITH_TIMEOUT(convert->isEnabled(), ConversionMs);
    screenshot(window, "after");

    QVERIFY(child<QLabel>(window, "headline")->text().contains(
        QLatin1String("Converted rq10-festival.json to rq10-festival.KX9F.")));
    QCOMPARE(overall->value(), overall->maximum());
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("rq10-festival.KX9F"), QStringLiteral("rq10-festival.json")}));

    // The report the child wrote is on show, and the summary line agrees with it.
    QFile json(window.findChild<ConversionRun*>()->outcome().reportJson);
    QVERIFY(json.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(json.readAll()).object();
    const QJsonObject totals = report.value(QLatin1String("totals")).toObject();
    auto total = [&](const char* key) { return static_cast<qint64>(totals.value(QLatin1String(key)).toDouble()); };
    QVERIFY(total("landed") > 0);
    const QString page = child<QTextBrowser>(window, "report")->toPlainText();
    QVERIFY2(page.startsWith(QLatin1String("Conversion report")) && page.contains(QString::number(total("landed"))),
             qPrintable(page.left(500)));
    QVERIFY(page.contains(QLatin1String("Warnings (0)")) && !page.contains(QLatin1String("The console after the conversion")));
    const QString headline = child<QLabel>(window, "headline")->text();
    for (const char* key : {"written", "landed", "refused", "noPlace", "leftAlone"})
        QVERIFY2(headline.contains(QLocale().toString(total(key)) + QLatin1Char(' ')), qPrintable(headline));
    QVERIFY(child<QPushButton>(window, "saveReport")->isEnabled());
    QVERIFY(child<QPushButton>(window, "openFolder")->isEnabled());

    // The Console tab reads the written file in a child: its scenes, and
    // scene 2.00's strips with the file's names and faders.
    auto* console = child<ConsoleTab>(window, "console");
    auto* scenes = child<QComboBox>(window, "consoleScene");
    QTRY_VERIFY_WITH_TIMEOUT(!console->isBusy(), ConversionMs);
    QCOMPARE(scenes->count(), 4);
    QCOMPARE(scenes->itemText(0), QStringLiteral("Current memory"));
    QCOMPARE(scenes->currentText(), QStringLiteral("1.00  Soundcheck"));
    scenes->setCurrentIndex(2);
    QCOMPARE(scenes->currentText(), QStringLiteral("2.00  Headliner"));
    const QJsonObject strips = child<StripPicture>(window, "strips")->scene().value(QLatin1String("strips")).toObject();
    const QJsonArray inputs = strips.value(QLatin1String("InputChannel")).toArray();
    QCOMPARE(inputs.size(), 120);
    QCOMPARE(inputs.at(18).toObject().value(QLatin1String("currentName")).toString(), QStringLiteral("Host Mic"));
    QCOMPARE(inputs.at(18).toObject().value(QLatin1String("fader")).toInt(), -3000);
    QCOMPARE(inputs.at(0).toObject().value(QLatin1String("fader")).toInt(), -500);
    QCOMPARE(strips.value(QLatin1String("DCA")).toArray().size(), 24);
    child<QTabWidget>(window, "tabs")->setCurrentWidget(console);

    // Compared with itself: equal; with a file that is no KX9 file: an error.
    auto* result = child<QLabel>(window, "compareResult");
    const struct {
        QString other;
        QString expected;
    } comparisons[] = {{setup, QStringLiteral("Error: could not compare with ")},
                       {output, QStringLiteral("Equal: rq10-festival.KX9F holds the same as ")}};
    for (const auto& c : comparisons) {
        console->compareWith(c.other);
        QVERIFY(console->isBusy());
        QTRY_VERIFY_WITH_TIMEOUT(!console->isBusy(), ConversionMs);
        QVERIFY2(result->text().startsWith(c.expected), qPrintable(result->text()));
    }
    QVERIFY(!child<QWidget>(window, "differences")->isVisible());
    screenshot(window, "console");
}

void ConvertWindowTest::cancelLeavesNoOutput()
{
    QTemporaryDir dir;
    ConvertWindow window(plaxbridge());
    window.show();
    window.setSource(kSample);
    window.setOutput(dir.filePath(QStringLiteral("cancelled.KX9F")));
    auto* convert = child<QPushButton>(window, "convert");
    auto* cancel = child<QPushButton>(window, "cancel");
    QVERIFY(!cancel->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(&window));
    bool cancelled = false;   // Esc in the first scene, however fast it is
    connect(child<QProgressBar>(window, "scene"), &QProgressBar::valueChanged, this, [&](int value) {
        if (value > 0 && !cancelled) {
            cancelled = true;
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!cancel->isEnabled());
        }
    });
    convert->click();
    QTRY_VERIFY_WITH_TIMEOUT(cancelled && convert->isEnabled(), ConversionMs);
    QVERIFY(child<QLabel>(window, "headline")->text().contains(QLatin1String("Cancelled")));
    QVERIFY(!child<QPushButton>(window, "saveReport")->isEnabled());
    QCOMPARE(entries(dir.path()), QStringList());
}

// A broken setup, an editor that dies, a child that crashes and one that cannot start: the window
// says so in its headline, shows no dialog, leaves no file and carries on.
void ConvertWindowTest::showsWhatWentWrongInTheWindow()
{
    QTemporaryDir dir;
    const QString setup = writeFile(dir.filePath(QStringLiteral("broken.json")), "{\"format\": \"rq10-setup\", ");
    const QString crashing = writeFile(dir.filePath(QStringLiteral("crashing")), "#!/bin/sh\nkill -SEGV $$\n");
    QFile::setPermissions(crashing, QFile::ReadOwner | QFile::ExeOwner);
    const struct {
        QString program;
        QString source;
        QStringList expected;
        const char* editorOptions;
    } rows[] = {{plaxbridge(), setup, {QStringLiteral("Bad SOURCE: "), setup}, ""},
                {plaxbridge(), kSample, {QStringLiteral("The KX9 editor exited (status 3) during scene 1 of 3; OUTPUT was not written")}, "--exit-after=30"},
                {crashing, kSample, {QStringLiteral("plaxbridge stopped unexpectedly")}, ""},
                {dir.filePath(QStringLiteral("missing")), kSample, {QStringLiteral("Cannot start ")}, ""}};
    for (const auto& row : rows) {
        qputenv("QORA_EDITOR_OPTIONS", row.editorOptions);
        ConvertWindow window(row.program);
        window.show();
        window.setSource(row.source);
        window.setOutput(dir.filePath(QStringLiteral("out.KX9F")));
        child<QPushButton>(window, "convert")->click();
        QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(window, "convert")->isEnabled(), 60000);
        const QString headline = child<QLabel>(window, "headline")->text();
        for (const QString& part : row.expected)
            QVERIFY2(headline.contains(part), qPrintable(headline));
        if (*row.editorOptions)
            screenshot(window, "editor-exited");
        QCOMPARE(QApplication::topLevelWidgets().size(), 1);   // no message boxes
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out.KX9F"))));
    }
}

QTEST_MAIN(ConvertWindowTest)
#include "ConvertWindowTest.moc"
