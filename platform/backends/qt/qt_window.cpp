// A window on the desktop: the top-level frame, and the client widget that paints the backing
// store and posts clicks and keys to the core.
#include "backends/qt/qt_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWindow>
#include <cmath>

#include "backends/qt/qt_backend.h"
#include "core/backend.h"

namespace sktch::platform::qt {
namespace {

Qt::WindowFlags flags_for(DWORD style) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

// Whether the painter's pixels keep an alpha channel: pixels copied there from the backing
// store, whose top byte is 0, would come out transparent.
bool keeps_alpha(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (device && device->devType() == QInternal::Image)
        return static_cast<QImage*>(device)->hasAlphaChannel();
    return true;
}

QPoint client_point(const QMouseEvent* event) {
    QPointF p = event->position();
    return {int(std::floor(p.x())), int(std::floor(p.y()))};
}

}  // namespace

ClientArea::ClientArea(HWND window, bool reports_size, QWidget* parent)
    : QWidget(parent), window_(window), reports_size_(reports_size) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QSize ClientArea::sizeHint() const {
    return preferred_;
}

bool ClientArea::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl+key belongs to the window procedure: no Qt shortcut may take it.
        auto* key = static_cast<QKeyEvent*>(event);
        Qt::KeyboardModifiers mods = key->modifiers();
        if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        // Tab would otherwise move the focus instead of reaching the window.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);  // crisp when scaled
    QRect shown;
    Window* w = window_ ? find_window(window_) : nullptr;
    if (w && w->backing.width > 0 && w->backing.height > 0) {
        const raster::Bitmap& b = backing_to_read(*w);
        shown = QRect(0, 0, b.width, b.height) & event->rect();
        if (keeps_alpha(painter)) {
            if (opaque_.size() != QSize(b.width, b.height))
                opaque_ = QImage(b.width, b.height, QImage::Format_RGB32);
            for (int y = shown.top(); y <= shown.bottom(); ++y) {
                const raster::Pixel* from = b.row(y) + shown.left();
                auto* to = reinterpret_cast<std::uint32_t*>(opaque_.scanLine(y)) + shown.left();
                for (int x = 0; x < shown.width(); ++x) to[x] = from[x] | 0xFF000000u;
            }
            painter.drawImage(shown, opaque_, shown);
        } else {
            // The stored rows as they lie: the picture's rows start at first_row and wrap
            // round to the top, so it is shown in two pieces.
            const QImage stored(reinterpret_cast<const uchar*>(b.pixels.data()), b.width, b.height,
                                qsizetype(b.width) * 4, QImage::Format_RGB32);
            const int below = b.height - b.first_row;  // picture rows before the wrap
            const QRect upper = QRect(0, 0, b.width, below) & shown;
            const QRect lower = QRect(0, below, b.width, b.first_row) & shown;
            if (!upper.isEmpty())
                painter.drawImage(upper, stored, upper.translated(0, b.first_row));
            if (!lower.isEmpty()) painter.drawImage(lower, stored, lower.translated(0, -below));
        }
    }
    // Beyond the backing store (a resize on its way to the core): the background.
    for (const QRect& r : QRegion(event->rect()).subtracted(QRegion(shown)))
        painter.fillRect(r, Qt::white);
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !window_) return QWidget::mousePressEvent(event);
    QPoint p = client_point(event);
    post_input(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x(), p.y()));
}

void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !window_) return QWidget::mouseReleaseEvent(event);
    QPoint p = client_point(event);
    post_input(window_, WM_LBUTTONUP, 0, MAKELPARAM(p.x(), p.y()));
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
    deliver_key(event, true);
}

void ClientArea::keyReleaseEvent(QKeyEvent* event) {
    deliver_key(event, false);
}

void ClientArea::deliver_key(QKeyEvent* event, bool down) {
    int vk = virtual_key(event->key(), event->modifiers());
    if (!window_ || vk == 0) return event->ignore();
    // While a key repeats, Win32 sends only key-downs; X11 pairs each with a release.
    if (!down && event->isAutoRepeat()) return event->accept();
    unsigned char typed =
        down ? typed_character(event->key(), event->modifiers(), event->text()) : 0;
    post_key(window_, down, vk, typed, down && event->isAutoRepeat());
    event->accept();
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (window_ && reports_size_) client_resized(window_, width(), height());
}

WindowFrame::WindowFrame(HWND window, const Window& w)
    : QWidget(nullptr, flags_for(w.style)),
      window_(window),
      resizable_(w.style & WS_THICKFRAME),
      layout_(new QVBoxLayout(this)),
      client_(new ClientArea(window, resizable_, this)) {
    setWindowTitle(QString::fromLatin1(w.title.data(), qsizetype(w.title.size())));
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(client_);
    setFocusProxy(client_);
    if (!resizable_) layout_->setSizeConstraint(QLayout::SetFixedSize);
    follow_menu(w);
    follow_client_size(w);
    if (resizable_) {
        client_->set_preferred(QSize(w.client_width, w.client_height));
        int bar = bar_ ? bar_->sizeHint().height() : 0;
        resize(w.client_width, w.client_height + bar);
    }
    move(w.frame.left, w.frame.top);
}

void WindowFrame::detach() {
    window_ = nullptr;
    client_->detach();
}

void WindowFrame::follow_visibility(const Window& w) {
    if (!w.visible) return hide();
    follow_client_size(w);
    if (!watching_expose_) {
        create();  // the native window exists from here on: watch it before it is mapped
        if (QWindow* native = windowHandle()) native->installEventFilter(this);
        watching_expose_ = true;
    }
    show();
    activateWindow();
}

void WindowFrame::follow_client_size(const Window& w) {
    if (resizable_) return;  // its size is the user's; the core hears of it
    QSize size(w.client_width, w.client_height);
    if (client_->size() != size || client_->minimumSize() != size) client_->setFixedSize(size);
}

void WindowFrame::closeEvent(QCloseEvent* event) {
    // The window procedure decides: DefWindowProcA destroys the window.
    event->ignore();
    if (window_) post_input(window_, WM_CLOSE, 0, 0);
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle()) {
        // Uncovered or shown for the first time: the window procedure paints it anew.
        bool exposed = windowHandle()->isExposed();
        if (exposed && !exposed_ && window_) invalidate(window_);
        exposed_ = exposed;
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* window_widget(HWND window) {
    Window* w = find_window(window);
    return w ? static_cast<WindowFrame*>(w->native) : nullptr;
}

QWidget* client_widget(HWND window) {
    Window* w = find_window(window);
    auto* frame = w ? static_cast<WindowFrame*>(w->native) : nullptr;
    return frame ? frame->client() : nullptr;
}

QMenuBar* menu_bar(HWND window) {
    Window* w = find_window(window);
    auto* frame = w ? static_cast<WindowFrame*>(w->native) : nullptr;
    return frame ? frame->menu_bar() : nullptr;
}

}  // namespace sktch::platform::qt
