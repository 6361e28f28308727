// SPDX-License-Identifier: GPL-3.0-or-later
// A directory list as a desktop user knows it: the path from the drive's root down to the current folder,
// one line per folder, then the current folder's subfolders one step further in. A folder becomes current
// when it is opened (double-click or Enter); the highlight, which starts on the current folder, marks the
// folder the user has chosen.
#pragma once

#include <QListWidget>
#include <QMap>

class DirectoryListBox : public QListWidget {
public:
    // Starts on the program's working directory, on the drive that holds it.
    DirectoryListBox(const QString& driveRoot, QWidget* parent = nullptr);

    // The current folder: "/" alone for the root, otherwise no trailing "/".
    const QString& directory() const { return directory_; }
    const QString& drive() const { return drive_; }
    // The highlighted folder; the current one when no line is highlighted.
    QString chosenFolder() const;
    // Shows that drive's current folder: the one last current on it, at first its root.
    void setDrive(const QString& root);
    void setDirectory(const QString& folder);

    // The folder a line stands for.
    static QString folderOf(const QListWidgetItem& item);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(const QListWidgetItem* item);
    void refill();

    QString drive_;
    QString directory_;
    QMap<QString, QString> lastOnDrive_;
};
