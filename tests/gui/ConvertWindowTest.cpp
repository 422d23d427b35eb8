// plaxbridge-gui driven through its widgets: a conversion of the sample by the
// built plaxbridge, a cancelled one, and a failing one. Screenshots of the
// window go to the build folder.
#include "ConvertWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
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

} // namespace

class ConvertWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsTheSampleAndShowsTheSummary();
    void cancelLeavesNoOutput();
    void showsTheChildsErrorInTheWindow();

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
        QDir().mkpath(QStringLiteral(QORA_SCREENSHOT_DIR));
        QVERIFY(window.grab().save(QStringLiteral(QORA_SCREENSHOT_DIR "/plaxbridge-gui-%1.png").arg(name)));
    }
};

void ConvertWindowTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);   // QSettings away from the user's
    QVERIFY2(QFileInfo(plaxbridge()).isExecutable(), qPrintable(plaxbridge()));
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

    QCOMPARE(child<QLabel>(window, "headline")->text().contains(
                 QLatin1String("Converted rq10-festival.json to rq10-festival.KX9F.")),
             true);
    QCOMPARE(overall->value(), overall->maximum());
    QVERIFY(QFileInfo(output).size() > 0);
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("rq10-festival.KX9F"), QStringLiteral("rq10-festival.json")}));
    const QString summary = child<QTextBrowser>(window, "report")->toPlainText();
    QVERIFY2(summary.contains(QRegularExpression(QStringLiteral("Scenes\\s+3\\b"))), qPrintable(summary));
    QVERIFY2(summary.contains(QRegularExpression(QStringLiteral("Values written\\s+[1-9]"))), qPrintable(summary));
    QVERIFY(child<QPushButton>(window, "openFolder")->isEnabled());
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
    QCOMPARE(child<QLabel>(window, "headline")->text().contains(QLatin1String("Cancelled")), true);
    QCOMPARE(entries(dir.path()), QStringList());
    QVERIFY(!child<QPushButton>(window, "openFolder")->isEnabled());
}

void ConvertWindowTest::showsTheChildsErrorInTheWindow()
{
    QTemporaryDir dir;
    const QString setup = dir.filePath(QStringLiteral("broken.json"));
    QFile file(setup);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"rq10-setup\", ");
    file.close();
    ConvertWindow window(plaxbridge());
    window.show();
    window.setSource(setup);
    child<QPushButton>(window, "convert")->click();
    QTRY_VERIFY_WITH_TIMEOUT(child<QPushButton>(window, "convert")->isEnabled(), 60000);
    const QString headline = child<QLabel>(window, "headline")->text();
    QVERIFY2(headline.contains(QLatin1String("Bad SOURCE: ")) && headline.contains(setup), qPrintable(headline));
    QCOMPARE(QApplication::topLevelWidgets().size(), 1);   // no message boxes
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("broken.json")});
}

QTEST_MAIN(ConvertWindowTest)
#include "ConvertWindowTest.moc"
