#pragma once

#include <QString>

class IMixer;
class QLibrary;

// The KX9 plug-in module (libqora.so) beside the host program, loaded at
// run time as the host loads console plug-ins: the library is opened and its
// factory QORA::create resolved by its exported symbol. The module stays
// loaded until the process ends, since its objects may live that long.
class PluginModule {
public:
    static constexpr const char* FileName = "libqora.so";
    static constexpr const char* FactorySymbol = "_ZN4QORA6createEv";

    explicit PluginModule(QString directory);
    ~PluginModule();

    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Loads the module and calls its factory; null with a message in `error`
    // on failure. An exception that the factory throws is reported, not
    // passed on. The caller releases the mixer with Destroy.
    IMixer* create(QString& error);

private:
    QString m_directory;
    QLibrary* m_library = nullptr;
};
