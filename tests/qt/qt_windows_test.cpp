// The library's two windows on Qt's offscreen platform: geometry, painting, clicks, keys, the
// Run menu, close boxes and waiting.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <cstdlib>

#include "backends/qt/qt_backend.h"
#include "core/backend.h"
#include "state.h"

namespace {

using namespace sktch;
namespace qt = sktch::platform::qt;

// Set before the first window makes the application: no display needed.
[[maybe_unused]] const bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0;

struct Event {
    int kind;
    int x, y;
    char key;
};

// A click of a mouse button at a client pixel, as the window system delivers it.
void click(QWidget* client, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QPointF global = client->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, button, button, {});
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, button, {}, {});
    QApplication::sendEvent(client, &press);
    QApplication::sendEvent(client, &release);
}

// Every action of a menu bar, popups first and then their items, depth first.
void collect_actions(const QList<QAction*>& actions, QList<QAction*>& out) {
    for (QAction* action : actions) {
        out.push_back(action);
        if (QMenu* popup = action->menu()) collect_actions(popup->actions(), out);
    }
}

class QtWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::reset_core();
        reset_state();
        char command_line[] = "";
        SKTCH_open(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr, command_line,
                   SW_SHOWNORMAL);
        graphics = state.graphics_window;
        text = state.text_window;
        settle();
    }

    void TearDown() override {
        for (HWND window : {text, graphics})
            if (IsWindow(window)) DestroyWindow(window);
        platform::reset_core();
        reset_state();
    }

    // Handles whatever is ready, as the library's wait does, without blocking; the first pass
    // also copies a changed surface onto the window.
    static void settle() {
        QCoreApplication::processEvents();
        pump_one_message();
        for (int i = 0; i < 100 && platform::message_ready(); ++i) pump_one_message();
    }

    // The library's wait, cut short by a quit after a few seconds so a lost event fails the
    // test instead of hanging it.
    static Event await() {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { PostQuitMessage(0); });
        guard.start(3000);
        Event e{};
        e.kind = SKTCH_await_event(&e.x, &e.y, &e.key);
        return e;
    }

    QList<QAction*> menu_actions() const {
        QList<QAction*> all;
        if (QMenuBar* bar = qt::menu_bar(graphics)) collect_actions(bar->actions(), all);
        return all;
    }

    QAction* action(const QString& text) const {
        for (QAction* a : menu_actions())
            if (a->text() == text) return a;
        ADD_FAILURE() << "no menu item " << text.toStdString();
        return nullptr;
    }

    HWND graphics = nullptr;
    HWND text = nullptr;
};

TEST_F(QtWindows, OpenShowsTwoTitledWindowsWithTheCoresClientSizes) {
    QWidget* graphics_frame = qt::window_widget(graphics);
    QWidget* text_frame = qt::window_widget(text);
    ASSERT_NE(graphics_frame, nullptr);
    ASSERT_NE(text_frame, nullptr);
    EXPECT_EQ(graphics_frame->windowTitle(), "SKTCH Graphics");
    EXPECT_EQ(text_frame->windowTitle(), "SKTCH Text");
    EXPECT_TRUE(graphics_frame->isVisible());
    EXPECT_TRUE(text_frame->isVisible());

    RECT client{};
    GetClientRect(graphics, &client);
    EXPECT_EQ(client.right, 595);
    EXPECT_EQ(client.bottom, 487);
    EXPECT_EQ(qt::client_widget(graphics)->size(), QSize(595, 487));
    GetClientRect(text, &client);
    EXPECT_EQ(qt::client_widget(text)->size(), QSize(client.right, client.bottom));

    // The graphics window cannot be resized; the text window can.
    EXPECT_EQ(graphics_frame->minimumSize(), graphics_frame->maximumSize());
    EXPECT_NE(text_frame->minimumSize(), text_frame->maximumSize());

    // The text window lies across the bottom third of the screen.
    QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(text_frame->pos(), QPoint(0, screen.height() * 2 / 3 + 1));
    EXPECT_EQ(graphics_frame->pos(), QPoint(0, 0));
}

TEST_F(QtWindows, MenuBarSitsAboveTheClientAreaOfTheGraphicsWindowOnly) {
    QMenuBar* bar = qt::menu_bar(graphics);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(qt::menu_bar(text), nullptr);
    EXPECT_GT(bar->height(), 0);
    EXPECT_GE(qt::client_widget(graphics)->geometry().top(), bar->geometry().bottom() + 1);
}

TEST_F(QtWindows, ClientWidgetShowsTheWindowsPixels) {
    SKTCH_logging(0);
    SKTCH_clear();
    SKTCH_rectangle(RED, -10, 10, 10, -10, 0);
    settle();  // the pump copies the surface onto the window
    QWidget* client = qt::client_widget(graphics);
    const platform::Window* w = platform::find_window(graphics);
    // On a surface without alpha (as X11 windows have) and on one with alpha (as Wayland's
    // may), the pixels come out the same and opaque.
    QImage with_alpha(client->size(), QImage::Format_ARGB32_Premultiplied);
    with_alpha.fill(Qt::transparent);
    client->render(&with_alpha);
    for (const QImage& shown : {client->grab().toImage(), with_alpha}) {
        ASSERT_EQ(shown.size(), QSize(595, 487));
        EXPECT_EQ(shown.pixel(297, 243), qRgb(255, 0, 0));
        int different = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                different += shown.pixel(x, y) != (0xFF000000u | w->backing.at(x, y));
        EXPECT_EQ(different, 0);
    }
}

TEST_F(QtWindows, ClicksArriveAsWorldCoordinates) {
    QWidget* client = qt::client_widget(graphics);
    click(client, QPoint(297, 243));
    Event e = await();
    EXPECT_EQ(e.kind, SKTCH_MOUSE);
    EXPECT_EQ(e.x, 0);
    EXPECT_EQ(e.y, 0);

    click(client, QPoint(0, 0));
    e = await();
    EXPECT_EQ(e.kind, SKTCH_MOUSE);
    EXPECT_EQ(e.x, -297);
    EXPECT_EQ(e.y, 243);

    // Only the left button makes an event.
    click(client, QPoint(10, 10), Qt::RightButton);
    settle();
    EXPECT_TRUE(platform::core().queue.empty());
}

TEST_F(QtWindows, TypedCharacterIsAKeyEventButCtrlLetterIsAShortcut) {
    QWidget* client = qt::client_widget(graphics);
    QTest::keyClick(client, Qt::Key_X, Qt::NoModifier);
    Event e = await();
    EXPECT_EQ(e.kind, SKTCH_KBD);
    EXPECT_EQ(e.key, 'x');

    // An application-wide Qt shortcut on the same keys must not take them.
    int stolen = 0;
    QShortcut trap(QKeySequence("Ctrl+A"), qt::window_widget(graphics));
    trap.setContext(Qt::ApplicationShortcut);
    QObject::connect(&trap, &QShortcut::activated, [&] { ++stolen; });

    QTest::keyPress(client, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyClick(client, Qt::Key_A, Qt::ControlModifier);
    QTest::keyRelease(client, Qt::Key_Control, Qt::NoModifier);
    e = await();  // the animation now runs: the next tick is the event
    EXPECT_EQ(state.animate_run, 1);
    EXPECT_EQ(e.kind, SKTCH_PERIODIC);
    EXPECT_EQ(stolen, 0);
    EXPECT_EQ(state.ctrl_down, 0u);
}

TEST_F(QtWindows, KeysTypedInTheTextWindowGoToIt) {
    QTest::keyClick(qt::client_widget(text), Qt::Key_Q, Qt::NoModifier);
    ASSERT_FALSE(platform::core().queue.empty());
    const MSG& down = platform::core().queue.front();
    EXPECT_EQ(down.hwnd, text);
    EXPECT_EQ(down.message, UINT(WM_KEYDOWN));
    EXPECT_EQ(down.wParam, WPARAM('Q'));
}

TEST_F(QtWindows, HeldKeyRepeatsAsKeyDownsOnly) {
    QWidget* client = qt::client_widget(graphics);
    QKeyEvent first(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b", false);
    QKeyEvent repeated_up(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, "b", true);
    QKeyEvent repeated_down(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b", true);
    for (QKeyEvent* e : {&first, &repeated_up, &repeated_down}) QApplication::sendEvent(client, e);

    auto& queue = platform::core().queue;
    ASSERT_EQ(queue.size(), 2u);
    for (const MSG& m : queue) {
        EXPECT_EQ(m.message, UINT(WM_KEYDOWN));
        EXPECT_EQ(m.wParam, WPARAM('B'));
    }
    EXPECT_EQ(queue[0].lParam & (LPARAM(1) << 30), 0);  // previous state: up
    EXPECT_NE(queue[1].lParam & (LPARAM(1) << 30), 0);  // a repeat: already down
}

TEST_F(QtWindows, RunMenuShowsTheItemsWithoutQtShortcuts) {
    QList<QAction*> all = menu_actions();
    ASSERT_FALSE(all.isEmpty());
    EXPECT_EQ(all.front()->text(), "&Run");
    int separators = 0, greyed = 0;
    for (QAction* a : all) {
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
        separators += a->isSeparator();
        greyed += !a->isEnabled();
    }
    EXPECT_EQ(separators, 4);
    EXPECT_EQ(greyed, 3);
    QAction* animate = action("&Animate\tCtrl+A");  // Qt shows the text after the tab
    ASSERT_NE(animate, nullptr);
    EXPECT_TRUE(animate->isEnabled());
    QAction* logging = action("&Logging\tCtrl+L");
    ASSERT_NE(logging, nullptr);
    EXPECT_TRUE(logging->isChecked());
    EXPECT_FALSE(animate->isChecked());
}

TEST_F(QtWindows, ChoosingAMenuItemPostsItsCommand) {
    QAction* halt = action("&Halt animation\tCtrl+H");
    ASSERT_NE(halt, nullptr);
    halt->trigger();
    auto& queue = platform::core().queue;
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.back().hwnd, graphics);
    EXPECT_EQ(queue.back().message, UINT(WM_COMMAND));
    EXPECT_EQ(queue.back().wParam, WPARAM(2));

    settle();
    QAction* animate = action("&Animate\tCtrl+A");
    ASSERT_NE(animate, nullptr);
    animate->trigger();
    settle();
    EXPECT_EQ(state.animate_run, 1);
}

TEST_F(QtWindows, CheckMarksFollowTheCoreNotQt) {
    QAction* logging = action("&Logging\tCtrl+L");
    ASSERT_NE(logging, nullptr);
    logging->trigger();
    EXPECT_TRUE(logging->isChecked());  // unchanged until the window procedure acts
    settle();
    EXPECT_EQ(state.logging, 0);
    EXPECT_FALSE(logging->isChecked());

    QAction* record = action("&Record Script\tCtrl+R");
    ASSERT_NE(record, nullptr);
    CheckMenuItem(state.run_menu, SKTCH_MENU_RECORD, MF_CHECKED);
    EXPECT_TRUE(record->isChecked());
    CheckMenuItem(state.run_menu, SKTCH_MENU_RECORD, MF_UNCHECKED);
    EXPECT_FALSE(record->isChecked());
    EXPECT_EQ(action("&Record Script\tCtrl+R"), record);  // updated in place, not rebuilt
}

TEST_F(QtWindows, GraphicsCloseBoxQuitsTheProgram) {
    QPointer<QWidget> frame = qt::window_widget(graphics);
    frame->close();
    EXPECT_TRUE(frame->isVisible());  // the window procedure decides
    Event e = await();
    EXPECT_EQ(e.kind, SKTCH_QUIT);
    EXPECT_FALSE(IsWindow(graphics));
    EXPECT_TRUE(frame.isNull());
}

TEST_F(QtWindows, TextWindowCloseBoxDestroysItAndPrintingGoesNowhere) {
    QPointer<QWidget> frame = qt::window_widget(text);
    frame->close();
    settle();
    EXPECT_FALSE(IsWindow(text));
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(SKTCH_printf("%s\n", "after"), 6);
    EXPECT_TRUE(IsWindow(graphics));
}

TEST_F(QtWindows, ResizingTheTextWindowResizesItsClientArea) {
    QWidget* frame = qt::window_widget(text);
    frame->resize(400, 150);
    QTRY_COMPARE_WITH_TIMEOUT(qt::client_widget(text)->size(), QSize(400, 150), 2000);
    RECT client{};
    GetClientRect(text, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 150);
    const platform::Window* w = platform::find_window(text);
    EXPECT_EQ(w->backing.width, 400);
    EXPECT_EQ(w->backing.height, 150);
}

TEST_F(QtWindows, ShowingAgainMakesAPaintDue) {
    platform::Window* w = platform::find_window(graphics);
    ASSERT_FALSE(w->needs_paint);
    QWidget* frame = qt::window_widget(graphics);
    frame->hide();
    QCoreApplication::processEvents();
    frame->show();
    QTRY_VERIFY_WITH_TIMEOUT(frame->windowHandle()->isExposed(), 2000);
    EXPECT_TRUE(platform::find_window(graphics)->needs_paint);
}

TEST_F(QtWindows, WaitReturnsAtTheDeadlineOrOnInput) {
    KillTimer(graphics, SKTCH_PERIODIC_TIMER);  // nothing else may become ready meanwhile
    platform::Backend& backend = platform::backend();
    ASSERT_FALSE(platform::message_ready());
    std::int64_t start = backend.now_ms();
    backend.wait(start + 60);
    EXPECT_GE(backend.now_ms(), start + 60);

    // Input that arrives while waiting without a deadline ends the wait.
    QWidget* client = qt::client_widget(graphics);
    QTimer::singleShot(30, client, [client] { click(client, QPoint(5, 5)); });
    backend.wait(std::nullopt);
    EXPECT_TRUE(platform::message_ready());
    EXPECT_FALSE(platform::core().queue.empty());
}

}  // namespace
