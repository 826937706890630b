// The game's picture, drawn through the headless backend and read back from the window.
#include "scene.h"

#include "game_test_support.h"
#include "rules.h"

namespace {

using namespace game_test;

class Scene : public OpenLibrary {
  protected:
    void SetUp() override {
        OpenLibrary::SetUp();
        draw_scene(250, 215);
        present();
    }
};

TEST_F(Scene, FillsTheClientAreaWithSkyAndGround) {
    const sktch::headless::Pixels b = window_bitmap();
    ASSERT_EQ(b.width, kClientWidth);
    ASSERT_EQ(b.height, kClientHeight);
    EXPECT_EQ(world_pixel(-200, 240), kIceBlue);
    EXPECT_EQ(world_pixel(200, -240), kBrown);
    EXPECT_EQ(world_pixel(0, -51), kBrown);          // the ground's top row is -50 ...
    EXPECT_EQ(world_pixel(-34, -50), kForestGreen);  // ... where the hills begin
    EXPECT_EQ(world_pixel(250, 215), kYellow);       // the sun's centre
    EXPECT_EQ(world_pixel(250, 232), kYellow);
    EXPECT_EQ(world_pixel(250, 238), kIceBlue);
}

TEST_F(Scene, HillsCoverTheSkyEachOverTheOneBefore) {
    EXPECT_EQ(world_pixel(0, 150), kGray50);        // below the grey hill's peak at (0, 200)
    EXPECT_EQ(world_pixel(0, 210), kIceBlue);       // above it
    EXPECT_EQ(world_pixel(-160, 55), kOlive);       // olive over grey
    EXPECT_EQ(world_pixel(-297, 100), kOlive);      // the olive hill runs past the left edge
    EXPECT_EQ(world_pixel(100, 50), kForestGreen);  // green over grey
    EXPECT_EQ(world_pixel(100, 100), kGray50);      // grey above the green slope
    EXPECT_EQ(world_pixel(290, 150), kForestGreen);
}

TEST_F(Scene, SkylineStandsInFrontOfTheHills) {
    EXPECT_EQ(world_pixel(-260, 0), kBlack);   // building 1 over the olive hill
    EXPECT_EQ(world_pixel(60, 20), kGray50);   // building 9 over the green hill
    EXPECT_EQ(world_pixel(-60, 100), kBlack);  // building 6 over the grey hill
    // Building 6 covers x from -70 to -38 and y from -50 to its roof at 120.
    EXPECT_EQ(world_pixel(-38, 50), kBlack);
    EXPECT_EQ(world_pixel(-37, 50), kGray50);
    EXPECT_EQ(world_pixel(-71, 50), kGray50);
    EXPECT_EQ(world_pixel(-60, -50), kBlack);
    EXPECT_EQ(world_pixel(-60, -51), kBrown);
    EXPECT_EQ(world_pixel(-40, 121), kGray50);
    // Building 13, the last and widest, ends at x = 274.
    EXPECT_EQ(world_pixel(274, -40), kBlack);
    EXPECT_EQ(world_pixel(275, -40), kForestGreen);
}

TEST_F(Scene, LitWindowsFormAGridOfTwoByTwoDots) {
    // Building 6: 6 columns and 32 rows of dots, the first 3 units in from its corner.
    EXPECT_EQ(count_in_box(kYellow, -70, 120, -38, -50), 6 * 32 * 4);
    EXPECT_EQ(world_pixel(-67, 117), kYellow);
    EXPECT_EQ(world_pixel(-66, 116), kYellow);
    EXPECT_EQ(world_pixel(-65, 117), kBlack);
    EXPECT_EQ(world_pixel(-67, 118), kBlack);
    EXPECT_EQ(world_pixel(-42, -39), kYellow);  // the last dot: column 28, row 158
    EXPECT_EQ(world_pixel(-67, -43), kBlack);   // no row at 163: too near the ground
    // Building 1 (height 80): 14 rows; building 13 (64 wide, 35 high): 12 columns, 5 rows.
    EXPECT_EQ(count_in_box(kYellow, -270, 30, -238, -50), 6 * 14 * 4);
    EXPECT_EQ(count_in_box(kYellow, 210, -15, 274, -50), 12 * 5 * 4);
}

TEST_F(Scene, AntennasStandOnTheTallestBuilding) {
    EXPECT_EQ(world_pixel(-60, 120), kRed);  // drawn over the roof
    EXPECT_EQ(world_pixel(-60, 135), kRed);
    EXPECT_EQ(world_pixel(-52, 125), kRed);
    EXPECT_EQ(world_pixel(-52, 136), kGray50);  // the middle one is shorter
    EXPECT_EQ(world_pixel(-44, 135), kRed);
    EXPECT_EQ(world_pixel(-48, 130), kGray50);
}

TEST_F(Scene, RunwayHasItsSurfaceOutlineAndMarkings) {
    EXPECT_EQ(world_pixel(-200, -100), kGray20);
    EXPECT_EQ(world_pixel(-200, -90), kBlack);  // outline
    EXPECT_EQ(world_pixel(-200, -140), kBlack);
    EXPECT_EQ(world_pixel(-90, -120), kBlack);
    EXPECT_EQ(world_pixel(-200, -89), kBrown);
    EXPECT_EQ(world_pixel(-89, -120), kBrown);
    // Dashes along the centre line, drawn over the outline at the left edge.
    EXPECT_EQ(world_pixel(-290, -115), kYellow);
    EXPECT_EQ(world_pixel(-275, -115), kGray20);
    EXPECT_EQ(world_pixel(-140, -115), kYellow);
    EXPECT_EQ(world_pixel(-120, -115), kGray20);
    // Threshold stripes.
    EXPECT_EQ(world_pixel(-95, -120), kWhite);
    EXPECT_EQ(world_pixel(-100, -100), kWhite);
    EXPECT_EQ(world_pixel(-105, -130), kWhite);
    EXPECT_EQ(world_pixel(-97, -120), kGray20);
}

TEST_F(Scene, RunwayLightsRedAtTheEndAndTheGivenColourAlongTheEdges) {
    draw_runway(GREEN);
    present();
    for (int y = -95; y > -140; y -= 8) EXPECT_EQ(world_pixel(-85, y), kRed) << y;
    EXPECT_EQ(world_pixel(-85, -99), kBrown);
    // The first edge lights, at x = -298, lie just off the window.
    for (int x = -290; x < -90; x += 8) {
        EXPECT_EQ(world_pixel(x, -85), 0x00FF00u) << x;
        EXPECT_EQ(world_pixel(x, -145), 0x00FF00u) << x;
    }
    EXPECT_EQ(world_pixel(-294, -85), kBrown);
    EXPECT_EQ(world_pixel(-90, -85), kBrown);
}

TEST_F(Scene, TitleIsWrittenInBlackOnTheGround) {
    int dark = 0;
    for (int y = -200; y >= -222; --y)
        for (int x = -285; x <= -100; ++x)
            if (world_pixel(x, y) != kBrown) ++dark;
    EXPECT_GT(dark, 150);
    EXPECT_GT(count_in_box(kBlack, -285, -200, -100, -222), 20);
    EXPECT_EQ(count_in_box(kBlack, -300, -170, 300, -195), 0);  // nothing above it
}

TEST_F(OpenLibrary, PanelShowsFourOutlinedButtonsWithTheirLabels) {
    draw_scene(250, 215);
    draw_panel();
    present();
    // The top edge, at y = 245, lies just above the client area.
    for (int y : {220, 195, 170, 145}) EXPECT_EQ(world_pixel(-257, y), kBlack) << y;
    EXPECT_EQ(world_pixel(-295, 232), kBlack);
    EXPECT_EQ(world_pixel(-220, 157), kBlack);
    // The boxes are hollow: the sky shows through, and nothing lies outside them.
    EXPECT_EQ(world_pixel(-225, 240), kIceBlue);
    EXPECT_EQ(world_pixel(-296, 232), kIceBlue);
    EXPECT_EQ(world_pixel(-219, 232), kIceBlue);
    EXPECT_EQ(world_pixel(-257, 144), kIceBlue);
    // Each label lies inside its own box, in its own colour.
    EXPECT_GT(count_in_box(kForestGreen, -290, 243, -225, 222), 10);
    EXPECT_EQ(count_in_box(kForestGreen, -290, 221, -225, 146), 0);
    EXPECT_GT(count_in_box(kRed, -290, 218, -225, 197), 10);
    EXPECT_GT(count_in_box(kBlack, -290, 193, -225, 172), 10);
    EXPECT_GT(count_in_box(kBlack, -290, 168, -225, 147), 10);
    EXPECT_EQ(count_in_box(kRed, -300, 250, -200, 140), count_in_box(kRed, -290, 218, -225, 197));
}

// ---- the aircraft and the flyers ----------------------------------------------------------

TEST_F(Scene, AircraftHasABodyTwoWheelsAndATailAboveItsPoint) {
    draw_plane(100, -200);
    present();
    EXPECT_EQ(world_pixel(100, -191), kWhite);  // body centre
    EXPECT_EQ(world_pixel(82, -191), kWhite);   // nose
    EXPECT_EQ(world_pixel(90, -196), kBlack);   // front wheel
    EXPECT_EQ(world_pixel(110, -196), kBlack);  // rear wheel
    EXPECT_EQ(world_pixel(119, -188), kWhite);  // tail fin
    EXPECT_EQ(world_pixel(100, -200), kBrown);  // the point itself lies below the drawing
    EXPECT_EQ(world_pixel(116, -184), kBrown);  // left of the fin's slope
    EXPECT_EQ(count_in_box(kWhite, 60, -170, 140, -210), count_in_box(kWhite, 79, -181, 121, -195));
}

TEST_F(Scene, AFlyerIsTheAircraftWithoutWheels) {
    draw_flyer(100, -200);
    present();
    EXPECT_EQ(world_pixel(100, -191), kWhite);
    EXPECT_EQ(world_pixel(119, -188), kWhite);
    EXPECT_EQ(world_pixel(90, -196), kBrown);
    EXPECT_EQ(world_pixel(110, -196), kBrown);
    EXPECT_EQ(count_in_box(kBlack, 60, -170, 140, -210), 0);
}

TEST_F(Scene, FlyersAreDrawnAtTheirOwnPlacesAndOneHeight) {
    int flyer_x[kFlyerCount] = {-200, -150, -100, -50, 0, 50, 100, 150, 200};
    draw_flyers(flyer_x, -200);
    present();
    for (int x : flyer_x) {
        EXPECT_EQ(world_pixel(x, -191), kWhite) << x;
        EXPECT_EQ(world_pixel(x + 19, -188), kWhite) << x;
    }
    EXPECT_EQ(world_pixel(-250, -191), kBrown);
    EXPECT_EQ(world_pixel(250, -191), kBrown);
}

TEST_F(Scene, AircraftPassesInFrontOfTheSkylineAndTheRunway) {
    draw_plane(-54, 60);
    draw_plane(-200, -125);
    present();
    EXPECT_EQ(world_pixel(-54, 69), kWhite);
    EXPECT_EQ(world_pixel(-200, -116), kWhite);
}

// ---- one whole frame ----------------------------------------------------------------------

TEST_F(OpenLibrary, FrameDrawsTheAircraftAndTheFlyersOverThePanel) {
    GameState game;
    game.flyer_y = 225;  // bodies from y 231 to 237, across the LAND label
    redraw(game);
    present();
    ASSERT_GT(count_in_box(kForestGreen, -272, 235, -248, 233), 0);

    game.flyer_x[0] = -260;
    redraw(game);
    present();
    EXPECT_EQ(count_in_box(kForestGreen, -272, 235, -248, 233), 0);
    EXPECT_EQ(world_pixel(-260, 234), kWhite);

    game.flyer_x[0] = 0;
    game.plane_x = -260;
    game.plane_y = 225;
    redraw(game);
    present();
    EXPECT_EQ(count_in_box(kForestGreen, -272, 235, -248, 233), 0);
    EXPECT_EQ(world_pixel(-270, 229), kBlack);  // a wheel
}

TEST_F(OpenLibrary, FrameDrawsTheOutcomeOverTheAircraft) {
    GameState game;
    game.plane_x = -302;  // just past the edge, still moving: "OVERSHOT RUNWAY" at x = -290
    game.plane_y = -120;
    game.plane_speed = 7;
    redraw(game);
    present();
    // The body reaches to x = -282, under the text's first letter.
    EXPECT_EQ(world_pixel(-296, -111), kWhite);
    int covered = 0;
    for (int x = -290; x <= -286; ++x)
        for (int y = -110; y >= -112; --y) covered += world_pixel(x, y) != kWhite;
    EXPECT_GT(covered, 0);
}

TEST_F(OpenLibrary, FrameDrawsTheOutcomeOverTheSceneAndFlyersOverTheOutcome) {
    GameState game;
    game.plane_x = -150;
    game.plane_y = -130;
    game.plane_speed = 0;  // "NICE LANDING" at (-120, -130)
    game.flyer_y = -130;   // flyer bodies from y -124 to -118
    for (int& x : game.flyer_x) x = 300;
    redraw(game);
    present();
    EXPECT_EQ(world_pixel(-150, -121), kWhite);  // the aircraft
    ASSERT_GT(count_in_box(kBlue, -72, -120, -48, -122), 0);
    game.flyer_x[0] = -60;  // now a flyer covers part of the text
    redraw(game);
    present();
    EXPECT_EQ(count_in_box(kBlue, -72, -120, -48, -122), 0);
    EXPECT_EQ(world_pixel(-60, -121), kWhite);
    EXPECT_GT(count_in_box(kBlue, -120, -110, -81, -130), 20);  // the rest of the text shows
}

TEST_F(OpenLibrary, FramePaintsOverWhateverWasThereBefore) {
    SKTCH_rectangle(MAGENTA, -400, 300, 400, -300, 0);
    redraw(GameState{});
    present();
    EXPECT_EQ(count_in_box(0xFF00FFu, -297, 243, 297, -243), 0);
}

}  // namespace
