#pragma once

// The size rule of a splitter drag, apart from any widget: the control above the splitter may
// become any height from just above MinSize up to MaxSize; a drag that ends at MinSize or less
// collapses it to 0.

// The smallest height the control keeps, and the least the control below the splitter keeps.
inline constexpr int SplitterMinSize = 30;

// The largest height the control above may take: what it and the filling control below share,
// less the MinSize the one below keeps. Never below 0.
int SplitterMaxSize(int ControlHeight, int FillingControlHeight);

// The control's height for a drag that moved the pointer by Delta from where it was pressed,
// the control then being StartSize high.
int SplitterNewSize(int StartSize, int Delta, int MaxSize);
