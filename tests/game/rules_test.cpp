// The flight rules as plain functions over the game state.
#include "rules.h"

#include <string>

#include "game_test_support.h"

namespace {

using game_test::log_lines;

// ---- the background flyers ----------------------------------------------------------------

TEST(Flyers, FirstStepSendsTheFiveLeftmostToTheRightEdgeTogether) {
    GameState game;
    step_flyers(game);
    // Flyers 0 to 3 were on screen and move 5 left; 4 (at -300) and those beyond wrap.
    EXPECT_EQ(game.flyer_x[0], -5);
    EXPECT_EQ(game.flyer_x[1], -80);
    EXPECT_EQ(game.flyer_x[2], -155);
    EXPECT_EQ(game.flyer_x[3], -230);
    for (int i = 4; i < kFlyerCount; ++i) EXPECT_EQ(game.flyer_x[i], 300) << "flyer " << i;
}

TEST(Flyers, FiveMoveAsOneFromTheFirstStepOn) {
    GameState game;
    for (int step = 0; step < 500; ++step) {
        step_flyers(game);
        for (int i = 5; i < kFlyerCount; ++i) ASSERT_EQ(game.flyer_x[i], game.flyer_x[4]);
    }
}

TEST(Flyers, OneAtTheLeftEdgeReappearsAtTheRightEdge) {
    GameState game;
    game.flyer_x[0] = -300;
    game.flyer_x[1] = -295;
    step_flyers(game);
    EXPECT_EQ(game.flyer_x[0], 300);  // not 295
    EXPECT_EQ(game.flyer_x[1], -300);
}

TEST(Flyers, MovingRightTheyReappearAtTheLeftEdge) {
    GameState game;
    game.flyer_direction = 1;
    game.flyer_x[0] = 300;
    game.flyer_x[1] = 295;
    step_flyers(game);
    EXPECT_EQ(game.flyer_x[0], -300);
    EXPECT_EQ(game.flyer_x[1], 300);
}

TEST(Flyers, StayOnScreenAtMultiplesOfFiveAndAtOneHeight) {
    GameState game;
    for (int step = 0; step < 1000; ++step) {
        step_flyers(game);
        for (int x : game.flyer_x) {
            ASSERT_EQ(x % 5, 0);
            ASSERT_GE(x, -300);
            ASSERT_LE(x, 300);
        }
        ASSERT_EQ(game.flyer_y, 220);
    }
}

// ---- the sun --------------------------------------------------------------------------------

TEST(Sun, DriftsLeftOneUnitPerTickAtTheSameHeight) {
    GameState game;
    step_sun(game);
    EXPECT_EQ(game.sun_x, 249);
    EXPECT_EQ(game.sun_y, 215);
}

TEST(Sun, WrapsPastMinus330ToTheRightAndSinksOneUnit) {
    GameState game;
    game.sun_x = -329;
    step_sun(game);
    EXPECT_EQ(game.sun_x, -330);  // -330 itself is not past the edge
    EXPECT_EQ(game.sun_y, 215);
    step_sun(game);
    EXPECT_EQ(game.sun_x, 331);
    EXPECT_EQ(game.sun_y, 214);
}

TEST(Sun, SinksOnceOnEveryCrossingWithoutLimit) {
    GameState game;
    // From 331 back to 331 takes 662 ticks; a long run keeps sinking past any floor.
    game.sun_x = 331;
    const int crossings = 400;
    for (int tick = 0; tick < 662 * crossings; ++tick) step_sun(game);
    EXPECT_EQ(game.sun_x, 331);
    EXPECT_EQ(game.sun_y, 215 - crossings);
}

// ---- the button panel -----------------------------------------------------------------------

TEST(Panel, HitsOnlyStrictlyInsideItsOutline) {
    // The four inside corners.
    EXPECT_EQ(panel_hit(-294, 146), 1);
    EXPECT_EQ(panel_hit(-294, 244), 1);
    EXPECT_EQ(panel_hit(-221, 146), 1);
    EXPECT_EQ(panel_hit(-221, 244), 1);
    // The outline itself and beyond.
    EXPECT_EQ(panel_hit(-295, 200), 0);
    EXPECT_EQ(panel_hit(-220, 200), 0);
    EXPECT_EQ(panel_hit(-250, 145), 0);
    EXPECT_EQ(panel_hit(-250, 245), 0);
    EXPECT_EQ(panel_hit(0, 0), 0);
    EXPECT_EQ(panel_hit(-250, -200), 0);
}

// Which button a press at height y works: the state it leaves, from a state where every
// button has a visible effect (flying low over the runway at speed 3).
GameState press_at(int y) {
    GameState game;
    game.plane_x = -200;
    game.plane_y = -120;
    game.plane_speed = 3;
    press_button(-250, y, game);
    return game;
}
bool is_land(const GameState& g) {
    return g.plane_x == -205 && g.plane_y == -125 && g.plane_speed == 3;
}
bool is_pull_up(const GameState& g) {
    return g.plane_x == -205 && g.plane_y == -115 && g.plane_speed == 3;
}
bool is_brakes(const GameState& g) {
    return g.plane_x == -200 && g.plane_y == -120 && g.plane_speed == 2;
}
bool is_restart(const GameState& g) {
    return g.plane_x == 270 && g.plane_y == 40 && g.plane_speed == 10;
}

TEST(Panel, RowsAre25UnitsHighFromTheTop) {
    for (int y : {244, 233, 221}) EXPECT_TRUE(is_land(press_at(y))) << y;
    for (int y : {220, 208, 196}) EXPECT_TRUE(is_pull_up(press_at(y))) << y;
    for (int y : {195, 183, 171}) EXPECT_TRUE(is_brakes(press_at(y))) << y;
    for (int y : {170, 158, 146}) EXPECT_TRUE(is_restart(press_at(y))) << y;
}

TEST(Panel, RowDivisionTruncatesTowardsZero) {
    // Just above the panel, (245 - y) / 25 is 0: still LAND when called directly.
    EXPECT_TRUE(is_land(press_at(246)));
    EXPECT_TRUE(is_land(press_at(269)));
}

// ---- LAND and PULL UP ---------------------------------------------------------------------

TEST(Steering, LandAndPullUpMoveForwardAndDownOrUp) {
    GameState game;
    press_button(-250, 230, game);  // LAND
    EXPECT_EQ(game.plane_x, 265);
    EXPECT_EQ(game.plane_y, 35);
    press_button(-250, 210, game);  // PULL UP
    EXPECT_EQ(game.plane_x, 260);
    EXPECT_EQ(game.plane_y, 40);
    EXPECT_EQ(game.plane_speed, 12);
}

TEST(Steering, LandHasNoLowerLimitAndPullUpNoUpperLimitWhileMoving) {
    GameState game;
    game.plane_y = -1000;
    press_button(-250, 230, game);
    EXPECT_EQ(game.plane_y, -1005);
    game.plane_y = 1000;
    press_button(-250, 210, game);
    EXPECT_EQ(game.plane_y, 1005);
}

TEST(Steering, StoppedInTheAirTheAircraftCanStillBeSteered) {
    GameState game;
    game.plane_speed = 0;
    game.plane_y = -114;
    press_button(-250, 230, game);
    EXPECT_EQ(game.plane_y, -119);
    EXPECT_EQ(game.plane_x, 265);
}

class StoppedLow : public game_test::OpenLibrary {
  protected:
    void SetUp() override {
        OpenLibrary::SetUp();
        SKTCH_logging(1);  // to see what the buttons draw
        game.plane_x = -150;
        game.plane_y = -115;
        game.plane_speed = 0;
    }
    GameState game;
};

TEST_F(StoppedLow, LandIsRefusedWithoutAWord) {
    for (int y : {-115, -130, -500}) {
        game.plane_y = y;
        std::size_t lines = log_lines().size();
        press_button(-250, 230, game);
        EXPECT_EQ(game.plane_x, -150);
        EXPECT_EQ(game.plane_y, y);
        EXPECT_EQ(log_lines().size(), lines);
    }
}

TEST_F(StoppedLow, PullUpIsRefusedWithARedCrashBesideTheAircraft) {
    press_button(-250, 210, game);
    EXPECT_EQ(game.plane_x, -150);
    EXPECT_EQ(game.plane_y, -115);
    EXPECT_EQ(game.plane_speed, 0);
    ASSERT_FALSE(log_lines().empty());
    EXPECT_EQ(log_lines().back(), "red text at (-130,-135), \"CRASH\"");
}

// ---- BRAKES -------------------------------------------------------------------------------

TEST(Brakes, SlowTheAircraftOnlyInsideTheRunwayBand) {
    for (int y : {-116, -128, -139}) {
        GameState game;
        game.plane_y = y;
        press_button(-250, 180, game);
        EXPECT_EQ(game.plane_speed, 11) << "at y " << y;
    }
    for (int y : {-115, -140, 40, -300}) {
        GameState game;
        game.plane_y = y;
        press_button(-250, 180, game);
        EXPECT_EQ(game.plane_speed, 12) << "at y " << y;
    }
}

TEST(Brakes, NeverTakeTheSpeedBelowZero) {
    GameState game;
    game.plane_y = -120;
    for (int press = 0; press < 20; ++press) press_button(-250, 180, game);
    EXPECT_EQ(game.plane_speed, 0);
}

TEST(Brakes, ClampANegativeSpeedEvenOutsideTheBand) {
    GameState game;
    game.plane_y = 40;
    game.plane_speed = -7;
    press_button(-250, 180, game);
    EXPECT_EQ(game.plane_speed, 0);
    EXPECT_EQ(game.plane_y, 40);
}

// ---- RESTART ------------------------------------------------------------------------------

TEST(Restart, StartsANewFlightAtSpeed10AndLeavesSunAndFlyers) {
    GameState game;
    game.plane_x = -200;
    game.plane_y = -130;
    game.plane_speed = 0;
    game.sun_x = 17;
    game.sun_y = 200;
    game.flyer_x[3] = 45;
    press_button(-250, 160, game);
    EXPECT_EQ(game.plane_x, 270);
    EXPECT_EQ(game.plane_y, 40);
    EXPECT_EQ(game.plane_speed, 10);
    EXPECT_EQ(game.sun_x, 17);
    EXPECT_EQ(game.sun_y, 200);
    EXPECT_EQ(game.flyer_x[3], 45);
}

// ---- presses on no button -----------------------------------------------------------------

class BadButton : public game_test::OpenLibrary {
  protected:
    void SetUp() override {
        OpenLibrary::SetUp();
        SKTCH_logging(1);
    }
    void expect_bad_news_and_no_change(int x, int y) {
        GameState game;
        press_button(x, y, game);
        EXPECT_EQ(game.plane_x, 270);
        EXPECT_EQ(game.plane_y, 40);
        EXPECT_EQ(game.plane_speed, 12);
        ASSERT_FALSE(log_lines().empty());
        EXPECT_EQ(log_lines().back(), "red text at (0,0), \"BAAAADDD NEWS!\"");
    }
};

TEST_F(BadButton, LeftOrRightOfThePanel) {
    expect_bad_news_and_no_change(-296, 230);
    expect_bad_news_and_no_change(-219, 230);
}

TEST_F(BadButton, AboveOrBelowTheFourRows) {
    expect_bad_news_and_no_change(-250, 270);  // row -1
    expect_bad_news_and_no_change(-250, 145);  // row 4
    expect_bad_news_and_no_change(-250, -500);
}

TEST_F(BadButton, TheOutlineColumnsStillCountAsButtons) {
    // Only x beyond -295 and -220 is refused; the outline itself passes the guard.
    GameState game;
    press_button(-295, 230, game);
    EXPECT_EQ(game.plane_y, 35);
    press_button(-220, 230, game);
    EXPECT_EQ(game.plane_y, 30);
}

// ---- the aircraft's motion ----------------------------------------------------------------

TEST(Motion, TheAircraftMovesLeftByItsSpeedAtItsHeight) {
    GameState game;
    step_plane(game);
    EXPECT_EQ(game.plane_x, 258);
    EXPECT_EQ(game.plane_y, 40);
    EXPECT_EQ(game.plane_speed, 12);
}

TEST(Motion, OnTheGroundShortOfTheRunwayItCrashesAndStops) {
    GameState game;
    game.plane_x = -89;
    game.plane_y = -116;
    step_plane(game);
    EXPECT_EQ(game.plane_speed, 0);
    EXPECT_EQ(game.plane_x, -89);  // stopped this very step
}

TEST(Motion, NoCrashOnTheRunwayOrAboveTheGround) {
    GameState on_runway;
    on_runway.plane_x = -90;
    on_runway.plane_y = -130;
    step_plane(on_runway);
    EXPECT_EQ(on_runway.plane_speed, 12);
    EXPECT_EQ(on_runway.plane_x, -102);

    GameState at_ground_level;
    at_ground_level.plane_x = 100;
    at_ground_level.plane_y = -115;
    step_plane(at_ground_level);
    EXPECT_EQ(at_ground_level.plane_speed, 12);
    EXPECT_EQ(at_ground_level.plane_x, 88);
}

TEST(Motion, PastTheLeftEdgeItReentersBeyondTheRight) {
    GameState game;
    game.plane_x = -330;
    step_plane(game);
    EXPECT_EQ(game.plane_x, 342);
    game.plane_x = -328;
    step_plane(game);
    EXPECT_EQ(game.plane_x, -340);  // exactly 340 away stays
    step_plane(game);
    EXPECT_EQ(game.plane_x, 352);
}

TEST(Motion, StoppedFarOutsideItsPositionFlipsSidesEveryStep) {
    GameState game;
    game.plane_speed = 0;
    game.plane_x = -341;
    game.plane_y = 40;
    step_plane(game);
    EXPECT_EQ(game.plane_x, 341);
    step_plane(game);
    EXPECT_EQ(game.plane_x, -341);
    game.plane_x = 340;
    step_plane(game);
    EXPECT_EQ(game.plane_x, 340);
}

// ---- outcome texts ------------------------------------------------------------------------

class Outcome : public game_test::OpenLibrary {
  protected:
    void SetUp() override {
        OpenLibrary::SetUp();
        SKTCH_logging(1);
    }
    // The line the outcome drew for an aircraft at (x, y) with this speed, or "" for none.
    std::string outcome_for(int x, int y, int speed) {
        GameState game;
        game.plane_x = x;
        game.plane_y = y;
        game.plane_speed = speed;
        std::size_t before = log_lines().size();
        draw_outcome(game);
        std::vector<std::string> lines = log_lines();
        if (lines.size() == before) return "";
        EXPECT_EQ(lines.size(), before + 1) << "more than one outcome text";
        return lines.back();
    }
};

TEST_F(Outcome, StoppedLeftOfTheRunwayEndIsANiceLanding) {
    EXPECT_EQ(outcome_for(-91, -120, 0), "blue text at (-61,-120), \"NICE LANDING\"");
    EXPECT_EQ(outcome_for(-299, -130, 0), "blue text at (-269,-130), \"NICE LANDING\"");
}

TEST_F(Outcome, StoppedRightOfTheRunwayEndIsACrash) {
    EXPECT_EQ(outcome_for(-89, -120, 0), "red text at (-59,-120), \"CRASH!!!!!\"");
    EXPECT_EQ(outcome_for(200, -200, 0), "red text at (230,-200), \"CRASH!!!!!\"");
}

TEST_F(Outcome, MovingPastTheLeftEdgeOvershootsAtAnyHeight) {
    EXPECT_EQ(outcome_for(-301, -120, 1), "red text at (-290,-120), \"OVERSHOT RUNWAY\"");
    EXPECT_EQ(outcome_for(-330, 40, 12), "red text at (-290,40), \"OVERSHOT RUNWAY\"");
}

TEST_F(Outcome, NoTextOnTheBoundariesOrWhileFlyingOnScreen) {
    EXPECT_EQ(outcome_for(-90, -120, 0), "");   // stopped exactly at the runway end
    EXPECT_EQ(outcome_for(-300, -120, 0), "");  // stopped at the left edge
    EXPECT_EQ(outcome_for(-340, -120, 0), "");
    EXPECT_EQ(outcome_for(-300, -120, 5), "");  // moving, not yet past the edge
    EXPECT_EQ(outcome_for(100, 40, 12), "");
}

}  // namespace
