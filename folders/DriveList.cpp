// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/DriveList.h"

#include <QDir>

QString driveHolding(const QList<QString>& roots, const QString& folder) {
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    QString best;
    for (const QString& root : roots) {
        const QString inside = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        const bool holds = path.compare(root, pathCase()) == 0 ||
                           QString(path + QLatin1Char('/')).startsWith(inside, pathCase());
        if (holds && root.size() > best.size()) best = root;
    }
    return best;
}
