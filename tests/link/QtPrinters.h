#pragma once

// Readable gtest failure output for the Qt types the link tests compare.
#include <QByteArray>
#include <QString>

#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << '"' << bytes.toStdString() << '"'; }
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
