// SPDX-License-Identifier: GPL-3.0-or-later
// What a folder package leaves out of a folder: it holds the visible plain files at the folder's top only,
// so the files in its subfolders (at any depth), its hidden files, its links and names with control characters stay unencrypted beside it.
#pragma once

#include <QString>

struct LeftOutFiles {
    int subfolders = 0;  // at the top; links to folders count as files
    int files = 0;       // everything that is not a folder, at the top and below it
};

// Never follows a link. Entries that cannot be read are not counted.
LeftOutFiles leftOutFiles(const QString& folder);

// The question asked before a folder with subfolders is encrypted: how many files stay unencrypted.
QString subfoldersQuestion(int leftOutFiles);
