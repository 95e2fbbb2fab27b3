// Mouse editing as at program start, between tests: both buttons up. The
// rest of it lives in an EditingState that each test makes afresh.
#pragma once

#include "app/mouse_editing.h"

inline void ForgetMouseEditing() {
    leftButtonDown = false;
    rightButtonDown = false;
}
