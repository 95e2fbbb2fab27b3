// Mouse editing as at program start, between tests: both buttons up, no
// stroke in progress and no previous pointer position.
#pragma once

#include "app/mouse_editing.h"

inline void ForgetMouseEditing() {
    EditHistory discarded;
    FinishStroke(discarded);
    RestartStroke();
    leftButtonDown = false;
    rightButtonDown = false;
}
