#include "platform/ToolWindow.h"

#include "platform/Jpeg.h"

namespace platform {

ToolWindow::ToolWindow(const QString& caption, QSize clientSize, const QString& background)
    : QWidget(nullptr, Qt::Tool) {
    setWindowTitle(caption);
    setFixedSize(clientSize);
    // Only the main window ends the program when it is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (!background.isEmpty()) {
        background_ = new Picture(this);
        background_->setObjectName(QStringLiteral("Image1"));
        background_->setPicture(loadJpeg(background));
        background_->setGeometry(rect());
        background_->lower();
    }
}

void ToolWindow::showInFront() { platform::showInFront(*this); }

void showInFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace platform
