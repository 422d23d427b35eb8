#pragma once

#include <QMetaType>
#include <QVariant>
#include <QVector>

// One entry of a "getData_prm_val" reply as the editor sent it: its value
// and its type code, each as the codec reads a scalar of a map (a number
// as a double, a text as a string, a missing key as an invalid variant).
struct ListValue {
    QVariant value;
    QVariant type;
};

// The entries of such a reply in list order. A reply of thousands of
// values is read once, by position; building a variant map per entry cost
// more than the rest of the read.
struct ListValues {
    QVector<ListValue> entries;
};

Q_DECLARE_METATYPE(ListValues)
