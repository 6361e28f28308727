// SPDX-License-Identifier: GPL-3.0-or-later
// A list of a folder's files: the bare names of its plain, visible files (no subfolders, no recursion), but
// none whose name has control characters, sorted by name ignoring letter case. It also carries the folder it shows.
#pragma once

#include <QFileInfo>
#include <QListWidget>
#include <QStringList>

namespace platform {

class FileListBox : public QListWidget {
public:
    // Whether the list shows `entry`: a plain, visible file, not a link, whose name a package can give back.
    static bool lists(const QFileInfo& entry);

    // Starts on the working directory, as the list shows before it is pointed anywhere.
    explicit FileListBox(QWidget* parent = nullptr);

    // Points the list at `folder` and makes that folder the program's working directory; throws
    // platform::RuntimeError ("File not found") when it is not a folder, and then changes nothing.
    void setDirectory(const QString& folder);
    const QString& directory() const { return directory_; }
    QStringList fileNames() const;
    // The folder's entries the list leaves out as it stands now (subfolders, hidden files, links, devices,
    // names with control characters) and its files that came after it was filled.
    int leftOutCount() const;

private:
    void refill();
    QString directory_;
};

}  // namespace platform
