// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes, input boxes and open-file dialogs, behind one interface: the program shows real Qt
// dialogs, tests install a scripted double that records what was shown and answers as the test says.
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "platform/Echo.h"

class QWidget;

namespace platform {

enum class Icon { None, Information, Warning, Error, Question };
// Yes and No: Yes is the default button, except in YesNoDefaultNo, for questions whose Yes destroys or removes
// something, where one Enter must not be consent. YesNoCancel: Yes the default, Esc and the close box Cancel.
enum class Buttons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct OpenFileOptions {
    QString title;          // empty: the dialog's own title
    QString filter;         // "Description (*.ext)"; empty: any file
    QString initialFileName;
};

// Called with the confirmed file name before the dialog closes; false keeps the dialog open.
using CanClose = std::function<bool(const QString& fileName)>;

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) = 0;
    // A modal input box with OK and Cancel (in Czech, as every standard button); nullopt when cancelled.
    // Takes at most 255 characters; a password box shows each as "|".
    virtual std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                         Echo echo) = 0;
    // An open-file dialog that may return a name that does not exist; nullopt when cancelled.
    virtual std::optional<QString> openFile(const OpenFileOptions& options, const CanClose& canClose) = 0;
};

// The dialogs of this run: the real ones unless a test installed its own.
Dialogs& dialogs();
// A box with a caption, a text, an icon and an OK button, shown through dialogs().
void tell(const QString& caption, const QString& text, Icon icon);

// Installs `replacement` (not owned) for everything shown from now on; nullptr restores the real dialogs.
void setDialogs(Dialogs* replacement);

// Where the keyboard goes when a box of the real dialogs closes: `field`'s window comes to the front with
// the focus in `field`, unless another box has opened meanwhile; nullptr: wherever the desktop puts it.
// The login window, which keeps above all others while nobody is logged in, sets its name field here.
void setFocusAfterBoxes(QWidget* field);

}  // namespace platform
