// The Qt 6 Widgets backend: the application object, made on first use, the clock, waiting for
// input inside Qt's event loop without spinning, and modal dialogs.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backends/qt/qt_dialog.h"
#include "backends/qt/qt_window.h"
#include "core/backend.h"
#include "raster/diagnostics.h"

namespace sktch::platform {
namespace {

// Messages Qt gives while the application starts: kept back, so that a failure to reach a
// display shows as one plain line instead of Qt's report.
std::vector<std::string>& startup_messages() {
    static std::vector<std::string> messages;
    return messages;
}

void hold_startup_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fflush(stdout);
        diagnostic("no display available (set DISPLAY or WAYLAND_DISPLAY)");
        std::fflush(stderr);
        std::_Exit(1);  // Qt is half made: leave without running its destructors
    }
    startup_messages().push_back(qFormatLogMessage(type, context, text).toStdString());
}

void ensure_application() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "sktch";
    static char* argv[] = {name, nullptr};
    QtMessageHandler previous = qInstallMessageHandler(hold_startup_message);
    new QApplication(argc, argv);  // lives as long as the process
    qInstallMessageHandler(previous);
    for (const std::string& line : startup_messages()) std::fprintf(stderr, "%s\n", line.c_str());
    startup_messages().clear();
}

qt::WindowFrame* frame_of(const Window& w) {
    return static_cast<qt::WindowFrame*>(w.native);
}

class QtBackend final : public Backend {
  public:
    SIZE screen_size() override {
        ensure_application();
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return {1024, 768};
        QSize size = screen->size();
        return {size.width(), size.height()};
    }

    std::int64_t now_ms() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    void window_created(HWND window, Window& w) override {
        ensure_application();
        w.native = new qt::WindowFrame(window, w);
    }

    void window_destroyed(HWND, Window& w) override {
        qt::WindowFrame* frame = frame_of(w);
        w.native = nullptr;
        if (!frame) return;
        frame->detach();
        frame->hide();
        delete frame;  // its event handlers only post messages, so none is running now
    }

    void window_shown(HWND, Window& w) override {
        if (qt::WindowFrame* frame = frame_of(w)) frame->follow_visibility(w);
    }

    void menu_changed(HWND, Window& w) override {
        if (qt::WindowFrame* frame = frame_of(w)) {
            frame->follow_menu(w);
            frame->follow_client_size(w);
        }
    }

    void pixels_changed(HWND, Window& w) override {
        if (qt::WindowFrame* frame = frame_of(w)) frame->client()->update();
    }

    void poll() override {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    }

    void wait(std::optional<std::int64_t> deadline) override {
        ensure_application();
        // Objects Qt let go of outside any event loop would otherwise keep the loop awake.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!wake_) {
            wake_ = new QTimer(QCoreApplication::instance());
            wake_->setSingleShot(true);
            wake_->setTimerType(Qt::PreciseTimer);
        }
        while (!message_ready()) {
            if (deadline) {
                std::int64_t left = *deadline - now_ms();
                if (left <= 0) break;
                wake_->start(int(std::min<std::int64_t>(left, INT_MAX)));
            }
            // Sleeps until Qt has something to do: input, a repaint, or the timer above.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        wake_->stop();
    }

    bool dialog_shown(HWND dialog, const DialogDescription& description) override {
        ensure_application();
        return qt::show_dialog(dialog, description);
    }
    void dialog_closed(HWND dialog) override { qt::close_dialog(dialog); }
    std::string control_text(HWND dialog, int id) override {
        return qt::dialog_control_text(dialog, id);
    }

  private:
    QTimer* wake_ = nullptr;
};

}  // namespace

Backend& backend() {
    static QtBackend instance;
    return instance;
}

}  // namespace sktch::platform
