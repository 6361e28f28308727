// SPDX-License-Identifier: GPL-3.0-or-later
// What lies below a folder that is to be encrypted: counted for the question whether its subfolders go into
// the package too, and named where the package of the whole tree leaves it out.
#pragma once

#include <QString>
#include <QStringList>

struct Subfolders {
    int folders = 0;  // at any depth; links to folders are not followed and count as files
    int files = 0;    // everything in them that is not a folder
};

// Never follows a link. Entries that cannot be read are not counted.
Subfolders subfoldersOf(const QString& folder);

// "Složka obsahuje podsložky (N souborů v M složkách). Zašifrovat i je?"
QString subfoldersQuestion(const Subfolders& below);

// The paths (relative to `folder`) of what a package of the whole tree leaves out, as the engine walks it:
// links, devices, sockets, FIFOs, hidden entries (a hidden folder as one) and names with control characters.
QStringList leftOutOfTree(const QString& folder);
