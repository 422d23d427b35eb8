#pragma once

#include "ConsoleModel.h"

#include <QString>
#include <QVector>

class QJsonObject;

// A conversion report (ConversionReport::toJson) as one self-contained HTML
// page: no scripts, no outside files, well-formed (it reads as XML), plain
// tables so that a QTextBrowser shows it as a browser does. Numbers carry
// data-key attributes, so a reader can find them. The strips of the written
// file are ConsolePage's, as `plaxbridge show --html` draws them.
class ReportHtml
{
public:
    ReportHtml() = delete;

    // `console`: the written file's scenes, each drawn as strips under its
    // own; a scene not among them gets none.
    static QString render(const QJsonObject& report, const QVector<SceneView>& console = QVector<SceneView>());
};
