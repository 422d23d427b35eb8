#pragma once

#include <QString>

class QJsonObject;

// A conversion report (ConversionReport::toJson) as one self-contained HTML
// page: no scripts, no outside files, well-formed (it reads as XML), plain
// tables so that a QTextBrowser shows it as a browser does. Numbers carry
// data-key attributes, so a reader can find them.
class ReportHtml
{
public:
    ReportHtml() = delete;

    static QString render(const QJsonObject& report);
};
