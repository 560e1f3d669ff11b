// The Windows test program of the display measures real fonts: the drawing layer and the font cache are
// readied once before the first test (the native build's fonts need nothing).
#include "ui/draw.h"
#include "ui/font.h"

#include <gtest/gtest.h>

namespace {

class FmtDrawingEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (DrawInit(nullptr)) FontInit();
    }
};

const testing::Environment *const fmtDrawingEnvironment =
    testing::AddGlobalTestEnvironment(new FmtDrawingEnvironment);

} // namespace
