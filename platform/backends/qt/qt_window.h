// The widgets of one window: a top-level frame holding an optional menu bar above the client
// widget, which shows the window's backing store and turns input into messages for the core.
#pragma once

#include <QImage>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWidget>
#include <string>
#include <vector>

#include "core/core.h"

namespace sktch::platform::qt {

class ClientArea final : public QWidget {
    Q_OBJECT
  public:
    // A client widget that reports its size changes to the core when reports_size is set.
    ClientArea(HWND window, bool reports_size, QWidget* parent);
    void detach() { window_ = nullptr; }
    void set_preferred(QSize size) { preferred_ = size; }
    QSize sizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void deliver_key(QKeyEvent* event, bool down);

    HWND window_;
    bool reports_size_;
    QSize preferred_;
    QImage opaque_;  // the backing store with opaque alpha, for devices that keep alpha
};

class WindowFrame final : public QWidget {
    Q_OBJECT
  public:
    WindowFrame(HWND window, const Window& w);

    ClientArea* client() const { return client_; }
    QMenuBar* menu_bar() const { return bar_; }

    // Stops all traffic to the core: the window is being destroyed.
    void detach();
    // Shows or hides the window as the core has it.
    void follow_visibility(const Window& w);
    // A fixed-size window's client widget takes the core's client size.
    void follow_client_size(const Window& w);
    // Builds the menu bar from the core's menu, or updates its items in place when only
    // texts, check marks or greying changed.
    void follow_menu(const Window& w);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void rebuild_menu(HMENU menu);
    void add_items(QWidget* parent, HMENU menu, int depth);
    void update_items(HMENU menu, std::size_t& next, int depth);

    HWND window_;
    bool resizable_;
    QVBoxLayout* layout_;
    ClientArea* client_;
    QMenuBar* bar_ = nullptr;
    std::string menu_shape_;       // the structure the bar was built for
    std::vector<QAction*> items_;  // one per menu item, depth first
    bool watching_expose_ = false;
    bool exposed_ = false;
};

}  // namespace sktch::platform::qt
