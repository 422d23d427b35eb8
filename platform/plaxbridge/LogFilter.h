#pragma once

#include <QtGlobal>

// Qt message handler of the host program. The plug-in logs freely with
// qDebug; the host's standard output must hold only its own results, so
// debug and info messages are dropped unless verbose, and whatever is shown
// goes to standard error. Every message of the category
// "qora.link.request" (one per editor command) is counted, shown or not.
class LogFilter {
public:
    static constexpr const char* RequestCategory = "qora.link.request";

    // Installs the handler and enables the request category's debug output.
    static void install(bool verbose);
    static long long editorCommands();
    static void resetEditorCommands();

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
};
