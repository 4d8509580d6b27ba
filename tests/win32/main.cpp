#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/gdi.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    GdiplusSession gdiplus(&gApp.gdiplusToken);
    return RUN_ALL_TESTS();
}
