// The line-input dialog on Qt's offscreen platform: what it shows and where, typing and
// ending it, the keys that must not end it, and the windows that keep running meanwhile.
#include "backends/qt/qt_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "backends/qt/qt_backend.h"
#include "core/backend.h"
#include "state.h"

namespace {

using namespace sktch;
namespace qt = sktch::platform::qt;

// Set before the first window makes the application: no display needed.
[[maybe_unused]] const bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0;

using Step = std::function<void(QWidget* dialog)>;

// The core's window of the open dialog; null when none is open.
HWND open_dialog() {
    HWND found = nullptr;
    platform::core().windows.for_each([&](std::uint32_t id, platform::Window& w) {
        if (w.dialog_procedure && !w.dialog_ended) found = platform::make_handle<HWND>(id);
    });
    return found;
}

template <class T>
T* child(QWidget* dialog) {
    QList<T*> all = dialog->findChildren<T*>();
    EXPECT_EQ(all.size(), 1);
    return all.isEmpty() ? nullptr : all.front();
}

QPlainTextEdit* edit_box(QWidget* dialog) {
    return child<QPlainTextEdit>(dialog);
}

// Types text that need not be ASCII, one key press per character.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &down);
        QApplication::sendEvent(widget, &up);
    }
}

// Whether a condition holds within two seconds, while Qt handles its events.
bool soon(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(2000);
    while (!condition() && !deadline.hasExpired()) QTest::qWait(5);
    return condition();
}

void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(widget, key, mods);
}

class QtDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::reset_core();
        reset_state();
        char command_line[] = "";
        SKTCH_open(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr, command_line,
                   SW_SHOWNORMAL);
        graphics = state.graphics_window;
        QCoreApplication::processEvents();
        while (platform::message_ready()) pump_one_message();
    }

    void TearDown() override {
        for (HWND window : {state.text_window, graphics})
            if (IsWindow(window)) DestroyWindow(window);
        platform::reset_core();
        reset_state();
    }

    // Runs a modal dialog (SKTCH_gets by default) while the steps work it from inside its loop,
    // one step each time the loop has handled all that the step before posted. Each step gets
    // the modal widget Qt shows. A dialog still open a few seconds after the last step is
    // ended by a quit, and the test fails.
    int run(std::vector<Step> steps, const std::function<int()>& dialog = {}) {
        std::size_t next = 0;
        int idle_ticks = 0;
        bool timed_out = false;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (platform::message_ready() || !open_dialog()) return;
            if (next == steps.size()) {
                if (++idle_ticks > 200) {
                    timed_out = true;
                    PostQuitMessage(0);
                }
                return;
            }
            QWidget* modal = QApplication::activeModalWidget();
            EXPECT_NE(modal, nullptr) << "step " << next;
            if (modal) steps[next](modal);
            ++next;
        });
        driver.start(15);
        int result = dialog ? dialog() : SKTCH_gets(prompt, answer);
        driver.stop();
        EXPECT_FALSE(timed_out) << "the dialog did not end";
        EXPECT_EQ(next, steps.size()) << "the dialog ended before all its steps ran";
        return result;
    }

    const char* prompt = "What is your name?";
    char answer[256] = "not answered";
    HWND graphics = nullptr;
};

TEST_F(QtDialog, ShowsTheTemplatesControlsOverTheGraphicsWindowWithFocusInTheEditBox) {
    prompt =
        "A prompt of a hundred characters, of which the dialog shows no more than the first "
        "seventy-nine ones";
    ASSERT_EQ(std::strlen(prompt), 100u);
    QPointer<QWidget> shown;
    EXPECT_EQ(run({[&](QWidget* dialog) {
                       shown = dialog;
                       EXPECT_EQ(dialog->windowTitle(), "SKTCH_gets");
                       EXPECT_TRUE(dialog->isVisible());
                       EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
                       EXPECT_EQ(dialog->parentWidget(), qt::window_widget(graphics));

                       QLabel* label = child<QLabel>(dialog);
                       QPushButton* button = child<QPushButton>(dialog);
                       QPlainTextEdit* edit = edit_box(dialog);
                       ASSERT_TRUE(label && button && edit);
                       EXPECT_EQ(label->text(), QString::fromLatin1(prompt, 79));
                       EXPECT_TRUE(label->wordWrap());
                       EXPECT_EQ(button->text(), "Okay");
                       EXPECT_TRUE(button->isDefault());
                       EXPECT_EQ(dialog->focusWidget(), edit);
                       EXPECT_TRUE(edit->toPlainText().isEmpty());

                       // Sizes and places are the ones the core computed from the template.
                       HWND handle = open_dialog();
                       const platform::Window* w = platform::find_window(handle);
                       ASSERT_NE(w, nullptr);
                       EXPECT_EQ(dialog->size(), QSize(w->client_width, w->client_height));
                       auto place = [](const RECT& r) {
                           return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
                       };
                       // The template's place is measured from the owner's client area.
                       const platform::Window* owner = platform::find_window(graphics);
                       QPoint place_in_client(w->frame.left - owner->frame.left,
                                              w->frame.top - owner->frame.top);
                       EXPECT_EQ(dialog->pos(),
                                 qt::client_widget(graphics)->mapToGlobal(place_in_client));
                       for (const platform::DialogControl& c : w->controls) {
                           QWidget* widget = c.kind == platform::DialogControl::Kind::Edit
                                                 ? static_cast<QWidget*>(edit)
                                             : c.kind == platform::DialogControl::Kind::Button
                                                 ? static_cast<QWidget*>(button)
                                                 : static_cast<QWidget*>(label);
                           EXPECT_EQ(widget->geometry(), place(c.rect)) << c.id;
                       }
                       // Not squeezed to nothing, as a wrong unit conversion would leave them.
                       EXPECT_GT(edit->width(), 200);
                       EXPECT_GT(button->height(), 15);
                   },
                   [](QWidget* dialog) { press(edit_box(dialog), Qt::Key_Return); }}),
              1);
    EXPECT_TRUE(shown.isNull()) << "the dialog is deleted when it ends";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtDialog, TypedTextComesBackWithEnterOrTheOkayButton) {
    EXPECT_EQ(run({[](QWidget* dialog) {
                  QTest::keyClicks(edit_box(dialog), "Ada Lovelace");
                  press(edit_box(dialog), Qt::Key_Return);
              }}),
              1);
    EXPECT_STREQ(answer, "Ada Lovelace");

    // The keypad's Enter, and the button, end it too; nothing typed gives an empty string.
    EXPECT_EQ(run({[](QWidget* dialog) {
                  QTest::keyClicks(edit_box(dialog), "42");
                  press(edit_box(dialog), Qt::Key_Enter, Qt::KeypadModifier);
              }}),
              1);
    EXPECT_STREQ(answer, "42");
    EXPECT_EQ(run({[](QWidget* dialog) {
                  QTest::mouseClick(child<QPushButton>(dialog), Qt::LeftButton);
              }}),
              1);
    EXPECT_STREQ(answer, "");
}

TEST_F(QtDialog, EscapeAndTheCloseBoxDoNotEndIt) {
    HWND handle = nullptr;
    EXPECT_EQ(run({[&](QWidget* dialog) {
                       handle = open_dialog();
                       QTest::keyClicks(edit_box(dialog), "kept");
                       press(edit_box(dialog), Qt::Key_Escape);
                       // The dialog window is asked to cancel; its procedure ignores it.
                       ASSERT_FALSE(platform::core().queue.empty());
                       const MSG& cancel = platform::core().queue.back();
                       EXPECT_EQ(cancel.hwnd, handle);
                       EXPECT_EQ(cancel.message, UINT(WM_COMMAND));
                       EXPECT_EQ(cancel.wParam, WPARAM(2));
                   },
                   [&](QWidget* dialog) {
                       EXPECT_TRUE(dialog->isVisible());
                       EXPECT_FALSE(dialog->close());
                       ASSERT_FALSE(platform::core().queue.empty());
                       const MSG& close = platform::core().queue.back();
                       EXPECT_EQ(close.hwnd, handle);
                       EXPECT_EQ(close.message, UINT(WM_CLOSE));
                   },
                   [&](QWidget* dialog) {
                       // A close event from the window system, as the close box sends.
                       QCloseEvent event;
                       QApplication::sendEvent(dialog, &event);
                       EXPECT_FALSE(event.isAccepted());
                   },
                   [&](QWidget* dialog) {
                       EXPECT_TRUE(dialog->isVisible());
                       EXPECT_EQ(open_dialog(), handle);
                       EXPECT_EQ(dialog->focusWidget(), edit_box(dialog));
                       press(edit_box(dialog), Qt::Key_Return);
                   }}),
              1);
    EXPECT_STREQ(answer, "kept");
}

TEST_F(QtDialog, EscapeAndTheCloseBoxReachADialogProcedureAsCancel) {
    static std::vector<WPARAM> commands;
    commands.clear();
    DLGPROC procedure = [](HWND window, UINT message, WPARAM w, LPARAM) -> INT_PTR {
        if (message != WM_COMMAND) return message == WM_INITDIALOG;
        commands.push_back(w);
        if (w == 101) EndDialog(window, 7);
        return 1;
    };
    alignas(4) unsigned char bytes[292];
    build_gets_template(bytes, "cancel?");
    auto dialog = [&] {
        return int(DialogBoxIndirectParamA(state.instance, reinterpret_cast<LPCDLGTEMPLATEA>(bytes),
                                           graphics, procedure, 0));
    };
    EXPECT_EQ(run({[](QWidget* dialog) { press(edit_box(dialog), Qt::Key_Escape); },
                   [](QWidget* dialog) { dialog->close(); },
                   [](QWidget* dialog) { press(edit_box(dialog), Qt::Key_Return); }},
                  dialog),
              7);
    EXPECT_EQ(commands, (std::vector<WPARAM>{2, 2, 101}));
}

TEST_F(QtDialog, WithTwoDefaultPushButtonsTheLastOneIsTheDefault) {
    static std::vector<WPARAM> commands;
    commands.clear();
    DLGPROC procedure = [](HWND window, UINT message, WPARAM w, LPARAM) -> INT_PTR {
        if (message != WM_COMMAND) return message == WM_INITDIALOG;
        commands.push_back(w);
        EndDialog(window, 9);
        return 1;
    };
    // The prompt (id 103, the last item) made a second default push button.
    alignas(4) unsigned char bytes[292];
    build_gets_template(bytes, "two defaults");
    const unsigned char button_style[4] = {0x01, 0x00, 0x01, 0x50};  // 0x50010001
    std::memcpy(bytes + 108, button_style, 4);
    bytes[128] = 0x80;  // the button class
    auto dialog = [&] {
        return int(DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bytes),
                                           graphics, procedure, 0));
    };
    EXPECT_EQ(run({[](QWidget* dialog) {
                      QStringList defaults;
                      for (QPushButton* button : dialog->findChildren<QPushButton*>())
                          if (button->isDefault()) defaults << button->text().left(3);
                      EXPECT_EQ(defaults, QStringList{"two"});
                      press(edit_box(dialog), Qt::Key_Return);
                  }},
                  dialog),
              9);
    EXPECT_EQ(commands, (std::vector<WPARAM>{103}));
}

TEST_F(QtDialog, CtrlEnterStartsANewLineAndLinesComeBackWithCrLf) {
    EXPECT_EQ(run({[](QWidget* dialog) {
                  QPlainTextEdit* edit = edit_box(dialog);
                  QTest::keyClicks(edit, "one");
                  press(edit, Qt::Key_Return, Qt::ControlModifier);
                  QTest::keyClicks(edit, "two");
                  press(edit, Qt::Key_Return, Qt::ControlModifier);
                  press(edit, Qt::Key_Return, Qt::ControlModifier);
                  QTest::keyClicks(edit, "four");
                  EXPECT_EQ(edit->blockCount(), 4);
                  EXPECT_TRUE(platform::core().queue.empty()) << "Ctrl+Enter pressed Okay";
                  press(edit, Qt::Key_Return);
              }}),
              1);
    EXPECT_STREQ(answer, "one\r\ntwo\r\n\r\nfour");
}

TEST_F(QtDialog, AnswersAreCutTo255CharactersAndKeepToLatin1) {
    std::string typed;
    for (int i = 0; i < 300; ++i) typed += char('a' + i % 26);
    EXPECT_EQ(run({[&](QWidget* dialog) {
                  QTest::keyClicks(edit_box(dialog), QString::fromStdString(typed));
                  press(edit_box(dialog), Qt::Key_Return);
              }}),
              1);
    EXPECT_EQ(std::string(answer), typed.substr(0, 255));

    // Latin-1 letters stay themselves; others become '?'.
    EXPECT_EQ(run({[](QWidget* dialog) {
                  type(edit_box(dialog), QString::fromUtf8("Zo\u00eb \u20ac5"));
                  press(edit_box(dialog), Qt::Key_Return);
              }}),
              1);
    EXPECT_STREQ(answer, "Zo\xeb ?5");
}

TEST(QtDialogText, LineBreaksOfEveryKindBecomeCrLfAndOneCharacterOneByte) {
    EXPECT_EQ(qt::edit_text_to_latin1(QString::fromUtf8("a\nb\r\nc\rd")), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(qt::edit_text_to_latin1(QString::fromUtf8("e\u2028f\u2029g")), "e\r\nf\r\ng");
    EXPECT_EQ(qt::edit_text_to_latin1(QString::fromUtf8("\r\n\r\n")), "\r\n\r\n");
    // A character beyond 16 bits (two UTF-16 units) is one '?'.
    EXPECT_EQ(qt::edit_text_to_latin1(QString::fromUtf8("x\U0001F600y\u00ff")), "x?y\xff");
}

TEST_F(QtDialog, TimerTicksAndWindowsRepaintWhileItIsOpen) {
    state.timer_fired = 0;
    EXPECT_EQ(run({[&](QWidget*) {
                       EXPECT_EQ(state.timer_fired, 0u);
                       platform::invalidate(graphics);
                       EXPECT_TRUE(platform::find_window(graphics)->needs_paint);
                   },
                   [&](QWidget*) {
                       EXPECT_FALSE(platform::find_window(graphics)->needs_paint);
                       QTest::qWait(250);  // longer than two ticks
                   },
                   [&](QWidget* dialog) {
                       EXPECT_EQ(state.timer_fired, 1u);
                       press(edit_box(dialog), Qt::Key_Return);
                   }}),
              1);
}

TEST_F(QtDialog, GraphicsWindowTakesNoInputWhileItIsOpen) {
    QWidget* client = qt::client_widget(graphics);
    QWindow* native = qt::window_widget(graphics)->windowHandle();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(run({[&](QWidget* dialog) {
                  // Through the window system, as a user's click and key arrive.
                  QPoint at = client->mapTo(client->window(), QPoint(20, 20));
                  QTest::mouseClick(native, Qt::LeftButton, {}, at);
                  QTest::keyClick(native, Qt::Key_X);
                  QCoreApplication::processEvents();
                  for (const MSG& m : platform::core().queue) EXPECT_NE(m.hwnd, graphics);
                  press(edit_box(dialog), Qt::Key_Return);
              }}),
              1);
    // Afterwards it does again.
    QTest::keyClick(native, Qt::Key_X);
    QCoreApplication::processEvents();
    bool key_reached = false;
    for (const MSG& m : platform::core().queue)
        key_reached |= m.hwnd == graphics && m.message == UINT(WM_KEYDOWN);
    EXPECT_TRUE(key_reached);
}

TEST_F(QtDialog, ActivatingTheGraphicsWindowGivesTheKeyboardBackToTheDialog) {
    QWindow* owner = qt::window_widget(graphics)->windowHandle();
    bool owner_was_active = false;
    QMetaObject::Connection watch =
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged,
                         [&](QWindow* focus) { owner_was_active |= focus == owner; });
    EXPECT_EQ(run({[&](QWidget* dialog) {
                       EXPECT_TRUE(soon([&] {
                           return QGuiApplication::focusWindow() == dialog->windowHandle();
                       }));
                       // As a click on the owner does on a desktop without a window manager.
                       owner->requestActivate();
                   },
                   [&](QWidget* dialog) {
                       EXPECT_TRUE(soon([&] { return owner_was_active; }));
                       EXPECT_TRUE(soon([&] {
                           return QGuiApplication::focusWindow() == dialog->windowHandle();
                       }));
                       press(edit_box(dialog), Qt::Key_Return);
                   }}),
              1);
    QObject::disconnect(watch);
}

}  // namespace
