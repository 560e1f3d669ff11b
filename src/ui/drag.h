// drag: dragging items between the program's own windows (prefix Drag): the source runs the drag loop while
// the button is held and every window under the cursor is asked through message 2035. A count of running
// drag loops tells the rest of the library whether a drag is under way.
// Success: true or a result; false or 0 for none.
#pragma once

// A drag loop is running.
bool DragIsActive();
