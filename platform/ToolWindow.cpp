#include "platform/ToolWindow.h"

#include "platform/Jpeg.h"
#include "platform/Style.h"

namespace platform {

ToolWindow::ToolWindow(const QString& caption, QSize clientSize, const QString& background)
    : QWidget(nullptr, Qt::Tool) {
    setWindowTitle(caption);
    setFixedSize(clientSize);
    // Only the main window ends the program when it is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (!background.isEmpty()) {
        keepLightPalette(*this);
        background_ = new Picture(this);
        background_->setObjectName(QStringLiteral("Image1"));
        background_->setPicture(loadJpeg(background));
        background_->setGeometry(rect());
        background_->lower();
    }
}

void ToolWindow::showInFront() { platform::showInFront(*this); }

// A window that keeps its owner stays a tool window of its own, placed on the screen as before.
void ToolWindow::belongTo(QWidget& owner) {
    const QPoint place = pos();
    setParent(&owner, windowFlags());
    move(place);
}

void showInFront(QWidget& window) {
    // show, raise and activate leave a minimised window where it is.
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace platform
