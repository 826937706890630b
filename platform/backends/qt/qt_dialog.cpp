// Modal dialogs on the desktop. The dialog is shown, not executed: the core's own message loop
// runs while it is open, and Qt's events are handled inside the core's polls and waits.
#include "backends/qt/qt_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <algorithm>
#include <unordered_map>

#include "backends/qt/qt_backend.h"

namespace sktch::platform::qt {
namespace {

std::unordered_map<HWND, QPointer<DialogBox>>& dialogs() {
    static std::unordered_map<HWND, QPointer<DialogBox>> shown;
    return shown;
}

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

bool is_enter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

Qt::WindowFlags flags_for(DWORD style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return flags;
}

QRect rect_of(const RECT& r) {
    return QRect(int(r.left), int(r.top), std::max(0, int(r.right - r.left)),
                 std::max(0, int(r.bottom - r.top)));
}

// The owner window: the core places a dialog at its template's place plus the top-left
// corner of its owner's frame, so the owner is the window whose frame starts there.
HWND owner_of(HWND dialog, const DialogDescription& d) {
    Window* w = find_window(dialog);
    if (!w) return nullptr;
    LONG left = w->frame.left - d.rect.left, top = w->frame.top - d.rect.top;
    HWND found = nullptr;
    bool found_visible = false;
    core().windows.for_each([&](std::uint32_t id, Window& other) {
        HWND handle = make_handle<HWND>(id);
        if (handle == dialog || other.dialog_procedure || !other.native) return;
        if (other.frame.left != left || other.frame.top != top) return;
        if (!found || (other.visible && !found_visible)) {
            found = handle;
            found_visible = other.visible;
        }
    });
    return found;
}

}  // namespace

DialogEdit::DialogEdit(HWND dialog, WORD default_id, bool multiline, QWidget* parent)
    : QPlainTextEdit(parent), dialog_(dialog), default_id_(default_id), multiline_(multiline) {
    setTabChangesFocus(true);
}

void DialogEdit::keyPressEvent(QKeyEvent* event) {
    if (!is_enter(event)) return QPlainTextEdit::keyPressEvent(event);
    event->accept();
    if (event->modifiers() & Qt::ControlModifier) {
        if (multiline_) insertPlainText(QStringLiteral("\n"));
        return;
    }
    post_input(dialog_, WM_COMMAND, default_id_, 0);
}

DialogBox::DialogBox(HWND dialog, const DialogDescription& d, QWidget* owner, QWidget* client)
    : QDialog(owner, flags_for(d.style)), dialog_(dialog) {
    setWindowTitle(latin1(d.title));
    setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    setSizeGripEnabled(false);
    QRect place = rect_of(d.rect);
    setFixedSize(place.size());
    move(client ? client->mapToGlobal(place.topLeft()) : place.topLeft());

    const DialogControl* default_control = default_button(d);
    WORD default_id = default_command(d);
    QWidget* first_stop = nullptr;
    QWidget* previous_stop = nullptr;
    for (const DialogControl& c : d.controls) {
        QWidget* widget = nullptr;
        switch (c.kind) {
            case DialogControl::Kind::Static: {
                auto* label = new QLabel(latin1(c.text), this);
                label->setTextFormat(Qt::PlainText);
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = label;
                break;
            }
            case DialogControl::Kind::Edit: {
                bool multiline = c.style & ES_MULTILINE;
                auto* edit = new DialogEdit(dialog, default_id, multiline, this);
                edit->setPlainText(latin1(c.text));
                edit->setLineWrapMode((c.style & ES_AUTOHSCROLL) || !multiline
                                          ? QPlainTextEdit::NoWrap
                                          : QPlainTextEdit::WidgetWidth);
                edit->setVerticalScrollBarPolicy((c.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
                edit->setHorizontalScrollBarPolicy((c.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                                          : Qt::ScrollBarAlwaysOff);
                if (!(c.style & WS_BORDER)) edit->setFrameShape(QFrame::NoFrame);
                widget = edit;
                break;
            }
            case DialogControl::Kind::Button: {
                auto* button = new QPushButton(latin1(c.text), this);
                button->setDefault(&c == default_control);
                WORD id = c.id;
                connect(button, &QPushButton::clicked, this,
                        [dialog, id] { post_input(dialog, WM_COMMAND, id, 0); });
                widget = button;
                break;
            }
            case DialogControl::Kind::Other:
                break;
        }
        if (!widget) continue;
        widget->setGeometry(rect_of(c.rect));
        if (c.style & WS_TABSTOP) {
            if (previous_stop) setTabOrder(previous_stop, widget);
            if (!first_stop) first_stop = widget;
            previous_stop = widget;
        } else if (c.kind != DialogControl::Kind::Static) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
        controls_.push_back({c.id, widget});
    }
    if (first_stop) first_stop->setFocus();

    // The owner takes no input while the dialog is open. Where nothing else keeps the
    // keyboard away from it (no window manager), the dialog takes the keyboard back.
    if (owner)
        connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
            if (!focus || !parentWidget() || focus != parentWidget()->windowHandle()) return;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!isVisible()) return;
                    raise();
                    activateWindow();
                },
                Qt::QueuedConnection);
        });
}

std::string DialogBox::control_text(int id) const {
    for (const Control& c : controls_) {
        if (c.id != id) continue;
        if (auto* edit = qobject_cast<QPlainTextEdit*>(c.widget))
            return edit_text_to_latin1(edit->toPlainText());
        if (auto* label = qobject_cast<QLabel*>(c.widget))
            return edit_text_to_latin1(label->text());
        if (auto* button = qobject_cast<QPushButton*>(c.widget))
            return edit_text_to_latin1(button->text());
    }
    return {};
}

void DialogBox::keyPressEvent(QKeyEvent* event) {
    // Keys that no control took: Escape cancels, Enter presses the default button.
    Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        event->accept();
        post_input(dialog_, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (is_enter(event) && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        for (const Control& c : controls_)
            if (auto* button = qobject_cast<QPushButton*>(c.widget); button && button->isDefault())
                return button->click();
        event->accept();
        post_input(dialog_, WM_COMMAND, IDOK, 0);
        return;
    }
    QWidget::keyPressEvent(event);  // not QDialog's: it would end the dialog itself
}

void DialogBox::closeEvent(QCloseEvent* event) {
    // The close box asks the dialog window; it turns the request into a cancel.
    event->ignore();
    post_input(dialog_, WM_CLOSE, 0, 0);
}

bool show_dialog(HWND dialog, const DialogDescription& description) {
    close_dialog(dialog);
    HWND owner = owner_of(dialog, description);
    auto* box = new DialogBox(dialog, description, window_widget(owner), client_widget(owner));
    dialogs()[dialog] = box;
    box->show();
    box->raise();
    box->activateWindow();
    return true;
}

void close_dialog(HWND dialog) {
    auto it = dialogs().find(dialog);
    if (it == dialogs().end()) return;
    DialogBox* box = it->second;  // null when its owner took it along
    dialogs().erase(it);
    if (!box) return;
    box->hide();
    delete box;  // its event handlers only post messages, so none is running now
}

std::string dialog_control_text(HWND dialog, int id) {
    auto it = dialogs().find(dialog);
    if (it == dialogs().end() || !it->second) return {};
    return it->second->control_text(id);
}

std::string edit_text_to_latin1(const QString& text) {
    std::string out;
    out.reserve(std::size_t(text.size()));
    bool after_return = false;
    for (char32_t c : text.toUcs4()) {
        bool was_return = after_return;
        after_return = c == U'\r';
        if (c == U'\n' && was_return) continue;  // the second half of "\r\n"
        if (c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029)
            out += "\r\n";
        else
            out += c <= 0xFF ? char(c) : '?';
    }
    return out;
}

}  // namespace sktch::platform::qt
