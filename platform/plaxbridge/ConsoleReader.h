#pragma once

#include "ConsoleModel.h"
#include "ValueNames.h"

#include <QString>
#include <QVector>

#include <memory>
#include <string>
#include <vector>

class IMixer;
class IParameter;
class PluginModule;

// Reads KX9 console files through the plug-in, as the host would: one
// plug-in session, any number of files loaded one after the other. Values
// are read parameter by parameter over all channels, so that each parameter
// costs the plug-in one block read; nothing is written to the files.
class ConsoleReader {
public:
    explicit ConsoleReader(QString programDirectory);
    // Reads through a mixer the caller made and keeps (a conversion's, after
    // its save): no second editor to start. The mixer must outlive the reader.
    ConsoleReader(QString programDirectory, IMixer* mixer);
    ~ConsoleReader();   // destroys the mixer it made

    ConsoleReader(const ConsoleReader&) = delete;
    ConsoleReader& operator=(const ConsoleReader&) = delete;

    // Reads the descriptor list and the value-name tables, loads the plug-in
    // and creates the KX9 mixer (which starts the editor) unless given one.
    bool start(QString& error);

    // Loads the file; false when the editor did not load it (the memory and
    // scenes of an earlier file must not pass for this one's).
    bool load(const QString& path, QString& error);

    // The stored scenes with their information (scene 999.99, the plug-in's
    // parking scene, left out), and the name lists of the current memory:
    // read these before any scene is recalled.
    QVector<SceneHeader> scenes();
    QVector<QStringList> currentNames();

    // Recalls the scene and reads its strips and racks; the current memory
    // (SceneHeader::CurrentMemory) is read as it is.
    SceneView view(const SceneHeader& header, const QVector<QStringList>& currentNames);
    // Recalls the scene and reads every value the plug-in answers.
    SceneValues values(const SceneHeader& header);

    const std::vector<std::string>& parameters() const { return m_parameters; }
    int channelMin(std::size_t parameter) const { return m_ranges[parameter].channelMin; }
    const ValueNames& valueNames() const { return m_valueNames; }

    // The name list (0..8) that holds the names of a parameter's channels,
    // -1 for none: the list of its strip, or of its effect units or plug-ins.
    static int nameListOf(const std::string& parameter);
    static constexpr int NameLists = 9;
    // Lists 0..5 name channels, buses, DCAs and mute groups; 6..8 libraries.
    static constexpr int StripNameLists = 6;
    // The name-list heads, which GetValue cannot read (texts without a table).
    static bool isNameParameter(const std::string& parameter);
    static QString nameListHead(int index);

private:
    struct Range {
        int channelMin = 0;
        int channelMax = 0;
        int sub = 0;
    };

    int indexOf(const std::string& name) const;
    // `only`: the channels to read (from the lowest), the others NotRead; empty: all.
    std::vector<int> readAt(std::size_t index, const std::vector<bool>& only = std::vector<bool>());
    std::vector<int> readAll(const std::string& name);
    QStringList nameList(int index);

    QString m_directory;
    std::unique_ptr<PluginModule> m_module;
    IMixer* m_mixer = nullptr;
    bool m_ownsMixer = true;
    ValueNames m_valueNames;
    std::vector<std::string> m_parameters;
    std::vector<Range> m_ranges;
    std::vector<IParameter*> m_objects;   // by catalogue position, made on first use
};
