#pragma once

// The latch rules of glow buttons, kept apart from the widget so that tests reach them directly.
//
// A button with GroupIndex 0 is a plain push button and never stays down. Buttons that share a
// nonzero GroupIndex under the same parent exclude each other: setting one down releases the
// others. A down button can be set up only when AllowAllUp is true. A click asks for Down :=
// not Down and is subject to the same rules.

struct TDownChange {
    bool Down = false;         // the button's Down afterwards
    bool ReleaseGroup = false; // whether the other down buttons of its group go up
};

TDownChange ApplyDownRequest(bool CurrentDown, bool RequestedDown, int GroupIndex, bool AllowAllUp);
