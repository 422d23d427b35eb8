#include "PluginModule.h"

#include "ExceptionNames.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <exception>
#include <memory>

PluginModule::PluginModule(QString directory)
    : m_directory(std::move(directory))
{
}

PluginModule::~PluginModule()
{
    // Deliberately not unloaded (see the class comment).
    delete m_library;
}

IMixer* PluginModule::create(QString& error)
{
    const QString path = QDir(m_directory).filePath(QString::fromLatin1(FileName));
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("the KX9 plug-in %1 is missing").arg(path);
        return nullptr;
    }
    if (!m_library) {
        m_library = new QLibrary(path);
        m_library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    }
    if (!m_library->isLoaded() && !m_library->load()) {
        error = QStringLiteral("cannot load the KX9 plug-in: %1").arg(m_library->errorString());
        return nullptr;
    }
    using Factory = IMixer* (*)();
    const auto factory = reinterpret_cast<Factory>(m_library->resolve(FactorySymbol));
    if (!factory) {
        error = QStringLiteral("the KX9 plug-in %1 exports no factory %2").arg(path, FactorySymbol);
        return nullptr;
    }
    IMixer* mixer = nullptr;
    try {
        mixer = factory();
    } catch (std::exception* e) {
        std::unique_ptr<std::exception> owned(e);
        error = QStringLiteral("the KX9 plug-in failed to start: %1: %2")
                    .arg(QString::fromStdString(owned ? ExceptionNames::className(*owned) : "null"),
                         QString::fromUtf8(owned ? owned->what() : ""));
        return nullptr;
    } catch (const std::exception& e) {
        error = QStringLiteral("the KX9 plug-in failed to start: %1: %2")
                    .arg(QString::fromStdString(ExceptionNames::className(e)),
                         QString::fromUtf8(e.what()));
        return nullptr;
    }
    if (!mixer)
        error = QStringLiteral("the KX9 plug-in could not start its editor (see KX9.ini in %1)")
                    .arg(m_directory);
    return mixer;
}
