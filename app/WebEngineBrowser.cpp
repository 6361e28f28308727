#include "app/WebEngineBrowser.h"

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

std::unique_ptr<Browser> makeWebEngineBrowser() { return std::make_unique<WebEngineBrowser>(); }

void prepareWebEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
