// The start button's hit area. (The framework's set-up and its screen are used by every suite
// that draws.)

#include <string>

#include "support/TestRuntime.h"

static std::string Text(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
           std::to_string(r.h);
}

TEST(StartButton, HitAreaIsTheDrawnButtonOnEveryDesktopShape) {
    // The drawn button, logical (560, 522) to (720, 570), mapped through the letterbox: scale
    // min(W / 800, H / 600), image centred both ways.
    const std::pair<SDL_Point, const char*> cases[] = {
        // Scale 1.6, image 1280 x 960 from y 32: x 896..1152, y 867.2..944.
        {{1280, 1024}, "896,867 256x77"},
        // Scale 2, image 1600 wide from x 160: x 1280..1600, y 1044..1140.
        {{1920, 1200}, "1280,1044 320x96"},
        // In single precision the image is 1439.9999 wide: the left edge truncates one short.
        {{1920, 1080}, "1247,939 288x87"},
        {{2560, 1080}, "1567,939 288x87"}};
    for (const auto& [desk, pExpected] : cases) {
        EXPECT_EQ(Text(ComputeStartButtonRect(800, 600, desk.x, desk.y)), pExpected)
            << desk.x << " x " << desk.y;
    }
}
