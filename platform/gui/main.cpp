// plaxbridge-gui: a window for converting RQ10 setups into KX9 console files.
// The conversion itself is `plaxbridge convert`, run from the same directory.
#include "ConvertWindow.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QORA"));
    QApplication::setApplicationName(QStringLiteral("plaxbridge-gui"));

    ConvertWindow window(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("plaxbridge")));
    const QStringList arguments = app.arguments().mid(1);
    if (!arguments.isEmpty())
        window.setSource(QDir::current().absoluteFilePath(arguments.first()));
    window.show();
    return app.exec();
}
