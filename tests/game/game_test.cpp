// Whole games, played through the headless driver as a player would: WinMain runs
// in-process, and at each wait the player looks at the window and clicks buttons.
#include <functional>
#include <map>

#include "game_test_support.h"

namespace {

using namespace game_test;

// A button's centre, in client pixels of the graphics window.
struct Button {
    int x, y;
};
constexpr Button kLand{kOriginX - 250, kOriginY - 233};
constexpr Button kPullUp{kOriginX - 250, kOriginY - 208};
constexpr Button kBrakes{kOriginX - 250, kOriginY - 183};
constexpr Button kRestart{kOriginX - 250, kOriginY - 158};

// The colour of world point (x, y) on the drawing surface, which still holds the last frame
// drawn after the game has returned. Read through the library's state on purpose: by then
// the windows, and with them everything the driver could read, are gone.
std::uint32_t surface_pixel(int x, int y) {
    COLORREF c = GetPixel(sktch::state.surface_dc, kOriginX + x, kOriginY - y);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}
int count_on_surface(std::uint32_t colour, int x1, int y1, int x2, int y2) {
    int count = 0;
    for (int y = y1; y >= y2; --y)
        for (int x = x1; x <= x2; ++x)
            if (surface_pixel(x, y) == colour) ++count;
    return count;
}

// Plays one game. The timer ticks every 100 ms of the virtual clock and every tick is a
// periodic event, so at a wait the game has seen now / 100 ticks. Actions are planned for a
// tick and run, one per wait, at the first wait at or after it; an action that queues input
// keeps the clock where it is, so the next action of the same tick follows at once.
class Player {
  public:
    Player() {
        reset_all();
        sktch::headless::on_idle([this] { on_idle(); });
    }
    ~Player() { sktch::headless::on_idle(nullptr); }

    void at(int tick, std::function<void()> action) { plan_.emplace(tick, std::move(action)); }

    // The graphics window; valid while the game runs.
    static HWND window() { return sktch::test_support::graphics_window(); }
    static void press(Button b, int times = 1) {
        for (int i = 0; i < times; ++i) sktch::headless::click(window(), b.x, b.y);
    }

    // Runs the game to its end; returns WinMain's result.
    int play() { return WinMain(test_instance(), nullptr, empty_command_line(), SW_SHOWNORMAL); }

  private:
    void on_idle() {
        int tick = int(sktch::headless::now_ms() / 100);
        if (tick > kTickLimit) {
            ADD_FAILURE() << "the game did not end by tick " << kTickLimit;
            sktch::headless::close_window(window());
            return;
        }
        auto next = plan_.begin();
        if (next != plan_.end() && next->first <= tick) {
            auto action = std::move(next->second);
            plan_.erase(next);
            action();
        }
    }

    static constexpr int kTickLimit = 1000;
    std::multimap<int, std::function<void()>> plan_;
};

// Checks the aircraft's body and wheels around its point (x, y) in the window.
void expect_aircraft_at(int x, int y) {
    EXPECT_EQ(world_pixel(x, y + 9), kWhite) << "body of the aircraft at " << x << ", " << y;
    EXPECT_EQ(world_pixel(x - 10, y + 4), kBlack) << "front wheel";
    EXPECT_EQ(world_pixel(x + 10, y + 4), kBlack) << "rear wheel";
}

// Paints the whole window magenta behind the game's back, so a check can tell whether the
// game drew a new frame since.
void smear_surface() {
    SKTCH_rectangle(MAGENTA, -400, 300, 400, -300, 0);
}
constexpr std::uint32_t kMagenta = 0xFF00FF;

// ---- the three endings --------------------------------------------------------------------

TEST(Game, BrakedToAStopOnTheRunwayIsANiceLanding) {
    Player player;
    // Down to the runway's centre line at once: 31 presses, 5 units down and left each.
    player.at(0, [] { Player::press(kLand, 31); });
    // Flying level at y = -115 there is no crash; 18 ticks at 12 bring x from 115 to -101.
    player.at(10, [] { expect_aircraft_at(115 - 120, -115); });
    // Past the runway's end: touch down and brake from 12 to 0.
    player.at(18, [] {
        Player::press(kLand);
        Player::press(kBrakes, 12);
    });
    player.at(20, [] { expect_aircraft_at(-106, -120); });
    player.at(25, [] {
        smear_surface();
        sktch::headless::close_window(Player::window());
    });
    EXPECT_EQ(player.play(), 0);

    // The last frame, drawn for the quit event, shows the landing.
    EXPECT_EQ(count_on_surface(kMagenta, -297, 243, 297, -243), 0);
    EXPECT_EQ(surface_pixel(-106, -111), kWhite);
    EXPECT_EQ(surface_pixel(-116, -116), kBlack);
    EXPECT_EQ(surface_pixel(-96, -116), kBlack);
    EXPECT_GT(count_on_surface(kBlue, -76, -100, 60, -120), 50);
    EXPECT_EQ(count_on_surface(kRed, -76, -100, 60, -120), 0);
}

TEST(Game, OnTheGroundShortOfTheRunwayIsACrash) {
    Player player;
    // 32 presses take it below the centre line at x = 110: the next tick stops it there.
    player.at(0, [] { Player::press(kLand, 32); });
    player.at(3, [] {
        expect_aircraft_at(110, -120);
        // Stopped on the ground, it can no longer take off nor go down.
        Player::press(kPullUp);
        Player::press(kLand);
        Player::press(kBrakes);
    });
    player.at(5, [] {
        expect_aircraft_at(110, -120);
        sktch::headless::press_ctrl_key(Player::window(), 'Q');
    });
    EXPECT_EQ(player.play(), 0);

    EXPECT_EQ(surface_pixel(110, -111), kWhite);
    EXPECT_EQ(surface_pixel(100, -116), kBlack);
    EXPECT_GT(count_on_surface(kRed, 140, -100, 280, -120), 50);
    EXPECT_EQ(count_on_surface(kBlue, 140, -100, 280, -120), 0);
}

TEST(Game, RollingPastTheRunwayIsAnOvershoot) {
    Player player;
    player.at(0, [] { Player::press(kLand, 31); });
    // Touch down past the runway's end but brake only from 12 to 7.
    player.at(18, [] {
        Player::press(kLand);
        Player::press(kBrakes, 5);
    });
    // From -106 at 7 a tick: -302 after 28 ticks, the first one beyond the left edge.
    player.at(30, [] { expect_aircraft_at(-106 - 7 * 12, -120); });
    player.at(45, [] {
        EXPECT_EQ(count_in_box(kRed, -290, -100, -150, -120), 0);  // not yet
        EXPECT_EQ(world_pixel(-295, -111), kWhite);                // the aircraft at -295
        EXPECT_EQ(world_pixel(-285, -116), kBlack);
    });
    player.at(46, [] { sktch::headless::close_window(Player::window()); });
    EXPECT_EQ(player.play(), 0);

    EXPECT_GT(count_on_surface(kRed, -290, -100, -100, -120), 50);
    // Of the aircraft at -302 only the nose, under the text, and the rear wheel show.
    EXPECT_EQ(surface_pixel(-296, -111), kWhite);
    EXPECT_EQ(surface_pixel(-292, -116), kBlack);
}

TEST(Game, RestartFliesInAgainAtSpeedTen) {
    Player player;
    player.at(0, [] { Player::press(kLand, 32); });  // a crash at x = 110
    player.at(4, [] { Player::press(kRestart); });
    player.at(7, [] {
        expect_aircraft_at(270 - 3 * 10, 40);
        sktch::headless::close_window(Player::window());
    });
    EXPECT_EQ(player.play(), 0);
    EXPECT_EQ(surface_pixel(240, 49), kWhite);
    EXPECT_EQ(
        count_on_surface(kRed, -297, 0, 297, -243) - count_on_surface(kRed, -90, -90, -80, -140),
        0);  // no crash text left, only the runway's end lights
}

// ---- what each event draws ----------------------------------------------------------------

TEST(Game, FirstFrameHasNoFlyersAndAClickShowsThemAtTheirStartingPlaces) {
    Player player;
    player.at(0, [] {
        // Before any event: the scene, panel and aircraft only.
        for (int x : {0, -75, -150, -225}) EXPECT_EQ(world_pixel(x, 229), kIceBlue) << x;
        expect_aircraft_at(270, 40);
        sktch::headless::click(Player::window(), kOriginX + 100, kOriginY + 200);
    });
    player.at(0, [] {
        for (int x : {0, -75, -150, -225}) EXPECT_EQ(world_pixel(x, 229), kWhite) << x;
        EXPECT_EQ(world_pixel(17, 229), kWhite);
        expect_aircraft_at(270, 40);  // a click outside the panel moves nothing
    });
    player.at(1, [] {
        // The first tick sends the five flyers beyond the left edge to the right edge.
        for (int x : {-5, -80, -155, -230}) EXPECT_EQ(world_pixel(x, 229), kWhite) << x;
        EXPECT_EQ(world_pixel(17, 229), kIceBlue);
        EXPECT_EQ(world_pixel(285, 229), kWhite);
        expect_aircraft_at(258, 40);
        sktch::headless::close_window(Player::window());
    });
    EXPECT_EQ(player.play(), 0);
}

TEST(Game, KeysAndClicksOffTheButtonsChangeNothingButDrawAFrame) {
    Player player;
    sktch::headless::Pixels before;
    // Each input is made with the window showing a magenta smear on the surface; the frame
    // after it must be the game's own again, unchanged.
    auto input_then_compare = [&](int tick, std::function<void()> input) {
        player.at(tick, [&, input] {
            before = window_bitmap();
            smear_surface();
            input();
        });
        player.at(tick, [&] {
            EXPECT_TRUE(window_bitmap().pixels == before.pixels) << "frame changed at " << tick;
            EXPECT_EQ(count_in_box(kMagenta, -297, 243, 297, -243), 0);
        });
    };
    input_then_compare(2, [] { sktch::headless::type_char(Player::window(), 'l'); });
    input_then_compare(4, [] { sktch::headless::click(Player::window(), kOriginX, kOriginY); });
    // On the panel's outline, just left of the LAND button.
    input_then_compare(6, [] { sktch::headless::click(Player::window(), kOriginX - 295, 10); });
    player.at(8, [] {
        expect_aircraft_at(270 - 8 * 12, 40);
        sktch::headless::close_window(Player::window());
    });
    EXPECT_EQ(player.play(), 0);
}

TEST(Game, SunAndFlyersMoveOnEveryTick) {
    Player player;
    player.at(0, [] { EXPECT_EQ(world_pixel(269, 215), kYellow); });  // sun's right edge
    player.at(20, [] {
        // 20 ticks: the sun 20 units left, the flyers 100.
        EXPECT_EQ(world_pixel(249, 215), kYellow);
        EXPECT_EQ(world_pixel(251, 215), kIceBlue);
        EXPECT_EQ(world_pixel(-100, 229), kWhite);
        EXPECT_EQ(world_pixel(-175, 229), kWhite);
        EXPECT_EQ(world_pixel(200, 229), kWhite);  // the five, together
        sktch::headless::close_window(Player::window());
    });
    EXPECT_EQ(player.play(), 0);
}

}  // namespace
