// The small animations of the About box, the help hint and the dedication.
#pragma once

#include <windows.h>

namespace botenruf::win {

// Creates an animation control that fills the client area of `frame` (a static of the
// dialog) as its child, with the frame's control id, opens the clip `aviResource` of the
// program and plays it from the first to the last frame without end. Null when the control
// could not be created; a clip that cannot be opened leaves an empty control.
HWND PlayAnimationIn(HWND frame, int aviResource);

}  // namespace botenruf::win
