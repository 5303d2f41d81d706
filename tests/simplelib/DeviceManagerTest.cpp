#include "DeviceManager.h"
#include "KeyboardManager.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "SpriteManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Each case runs in a fresh child process with no device manager yet.
TEST(DeviceManagerDeathTest, Lifecycle) {
    EXPECT_EXIT(
        {
            createDeviceManager("t", "", 320, 240, false);
            bool allThere = deviceManager && scene2D && spriteManager && scene3D && keyboardManager;
            destroyDeviceManager();
            bool allGone = !deviceManager && !scene2D && !spriteManager && !scene3D && !keyboardManager;
            std::exit(allThere && allGone ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            createDeviceManager("t", "", 320, 240, false);
            createDeviceManager("t", "", 320, 240, false);
        },
        testing::ExitedWithCode(1), "Condition: deviceManager == NULL");
    EXPECT_EXIT(destroyDeviceManager(), testing::ExitedWithCode(1), "Condition: deviceManager != NULL");
    EXPECT_EXIT(
        {
            createDeviceManager("t", "", 320, 240, false);
            spriteManager->sprites.push_back(nullptr);  // a sprite never released
            destroyDeviceManager();
        },
        testing::ExitedWithCode(1), "Condition: sprites.size\\(\\) == 0");
}

TEST(DeviceManagerDeathTest, WindowSizeReachesTheScenes) {
    EXPECT_EXIT(
        {
            createDeviceManager("t", "", 320, 240, false);
            bool ok = screenSize == Int2(320, 240) && scene2D->windowSize == Int2(320, 240) &&
                      scene2D->sceneSize == Int2(320, 240) && scene2D->followWindow;
            std::exit(ok ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}
