// A window's menu bar, mirrored from the core's menu model. Items carry no Qt shortcuts: the
// text after a tab is only shown, so Ctrl+letter keeps reaching the window procedure.
#include <QMenu>
#include <QSignalBlocker>

#include "backends/qt/qt_window.h"
#include "core/backend.h"

namespace sktch::platform::qt {
namespace {

HMENU popup_of(const MenuItem& item) {
    return reinterpret_cast<HMENU>(item.id);
}

QString text_of(const MenuItem& item) {
    return QString::fromLatin1(item.text.data(), qsizetype(item.text.size()));
}

// The structure of a menu tree: popups, separators and command ids, in order. The same
// structure lets the existing actions be updated in place.
std::string shape_of(HMENU menu, int depth) {
    Menu* m = find_menu(menu);
    if (!m || depth > kMaxMenuDepth) return {};
    std::string shape = "[";
    for (const MenuItem& item : m->items) {
        if (item.flags & MF_POPUP)
            shape += shape_of(popup_of(item), depth + 1);
        else if (item.flags & MF_SEPARATOR)
            shape += '-';
        else
            shape += std::to_string(item.id) + ',';
    }
    return shape + ']';
}

}  // namespace

void WindowFrame::follow_menu(const Window& w) {
    if (!w.menu || !find_menu(w.menu)) {
        if (bar_) {
            layout_->setMenuBar(nullptr);
            delete bar_;
            bar_ = nullptr;
        }
        items_.clear();
        menu_shape_.clear();
        return;
    }
    std::string shape = shape_of(w.menu, 0);
    if (!bar_ || shape != menu_shape_) {
        rebuild_menu(w.menu);
        menu_shape_ = shape;
    }
    std::size_t next = 0;
    update_items(w.menu, next, 0);
}

void WindowFrame::rebuild_menu(HMENU menu) {
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);  // inside the window, where the client area's layout expects it
    items_.clear();
    add_items(bar, menu, 0);
    layout_->setMenuBar(bar);
    delete bar_;
    bar_ = bar;
}

void WindowFrame::add_items(QWidget* parent, HMENU menu, int depth) {
    Menu* m = find_menu(menu);
    if (!m || depth > kMaxMenuDepth) return;
    for (const MenuItem& item : m->items) {
        if (item.flags & MF_POPUP) {
            auto* popup = new QMenu(parent);
            parent->addAction(popup->menuAction());
            items_.push_back(popup->menuAction());
            add_items(popup, popup_of(item), depth + 1);
            continue;
        }
        auto* action = new QAction(parent);
        if (item.flags & MF_SEPARATOR) {
            action->setSeparator(true);
        } else {
            UINT_PTR id = item.id;
            connect(action, &QAction::triggered, this, [this, action, id] {
                // Qt has flipped the check mark; the window procedure sets it through the core.
                if (action->isCheckable()) {
                    QSignalBlocker quiet(action);
                    action->setChecked(!action->isChecked());
                }
                if (window_) post_input(window_, WM_COMMAND, WPARAM(id), 0);
            });
        }
        parent->addAction(action);
        items_.push_back(action);
    }
}

void WindowFrame::update_items(HMENU menu, std::size_t& next, int depth) {
    Menu* m = find_menu(menu);
    if (!m || depth > kMaxMenuDepth) return;
    for (const MenuItem& item : m->items) {
        if (next >= items_.size()) return;
        QAction* action = items_[next++];
        if (item.flags & MF_SEPARATOR) continue;
        // '&' marks the mnemonic in both systems; the text after a tab shows as shortcut text.
        action->setText(text_of(item));
        action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        if (item.flags & MF_POPUP) {
            update_items(popup_of(item), next, depth + 1);
            continue;
        }
        bool checked = item.flags & MF_CHECKED;
        QSignalBlocker quiet(action);
        action->setCheckable(checked);
        action->setChecked(checked);
    }
}

}  // namespace sktch::platform::qt
