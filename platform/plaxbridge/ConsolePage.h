#pragma once

#include "ConsoleModel.h"

#include <QString>
#include <QVector>

class ConsoleDiff;

// show and diff as self-contained HTML pages (no scripts, no outside files):
// the scenes' strips drawn as a console's channel strips in CSS, the
// differences as tables. Strips and values carry data- attributes.
class ConsolePage {
public:
    ConsolePage() = delete;

    static QString show(const QString& file, const QVector<SceneHeader>& scenes, const QVector<SceneView>& views);
    static QString diff(const QString& a, const QString& b, const ConsoleDiff& diff);
    // The strips and racks of one scene.
    static QString sceneSection(const SceneView& view);
    // The strips alone, one bank per kind, for pages of their own (the
    // conversion report); they need stripStyle() in the page's style.
    static QString strips(const SceneView& view);
    static const char* stripStyle();
};
