#pragma once

#include <QtGlobal>

#include <functional>

class QJsonObject;

// Qt message handler of the host program. The plug-in logs freely with
// qDebug; the host's standard output must hold only its own results, so
// debug and info messages are dropped unless verbose, and whatever is shown
// goes to standard error. Every message of the category
// "qora.link.request" (one per editor command) is counted, shown or not, and
// every event of the plug-in's journal ("qora.journal") goes to the journal
// sink, if there is one.
class LogFilter {
public:
    static constexpr const char* RequestCategory = "qora.link.request";
    static constexpr const char* JournalCategory = "qora.journal";

    // Installs the handler and enables the request category's debug output
    // and the journal.
    static void install(bool verbose);
    static long long editorCommands();
    static void resetEditorCommands();

    // Receives each journal event, on the thread that logged it (the host's
    // thread for every plug-in call).
    using JournalSink = std::function<void(const QJsonObject& event)>;
    static void setJournalSink(JournalSink sink);

    // True once the plug-in's journal said that the editor's connection
    // closed ("editorGone", logged on the plug-in's link thread; it does not
    // reach the sink).
    static bool editorGone();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
};
