// SPDX-License-Identifier: GPL-3.0-or-later
// The forum page in a Qt WebEngine view; the engine is started on the first navigation, not at start-up.
#include "app/ForumBrowser.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWidget>

namespace {

class WebEngineBrowser : public Browser {
public:
    WebEngineBrowser() : holder_(new QWidget) {
        auto* layout = new QVBoxLayout(holder_);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    QWidget* view() override { return holder_; }

    void navigate(const QUrl& address) override {
        if (!page_) {
            page_ = new QWebEngineView(holder_);
            holder_->layout()->addWidget(page_);
        }
        page_->load(address);
    }

private:
    QWidget* holder_;  // owned by the window that shows it
    QWebEngineView* page_ = nullptr;
};

}  // namespace

std::unique_ptr<Browser> makeForumBrowser() { return std::make_unique<WebEngineBrowser>(); }

// The engine refuses to start sandboxed as root and would end the whole program when the forum window opens.
void prepareForumBrowser() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
