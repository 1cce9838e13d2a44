#pragma once

// For the companion's page tests only (header-only: the shared fixtures do not link the
// companion).

#include "araclar/listpanel.h"

#include <QAbstractItemModel>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtGlobal>

namespace testsupport {

// The rows a list shows, each as its cells' texts joined by "|".
inline QStringList shownRows(const araclar::ListPanel* list) {
    QStringList rows;
    const auto* m = list->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            cells << m->data(m->index(r, c), Qt::DisplayRole).toString();
        rows << cells.join(u'|');
    }
    return rows;
}

// A control of a page by its object name; a test that names one that is not there stops.
template <typename T> T* child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

} // namespace testsupport
