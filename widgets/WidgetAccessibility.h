#pragma once

// What a screen reader learns about the drawn widgets, which Qt would otherwise report as plain
// panes: a glow button is a button (a toggle button while it belongs to a group, checked while
// Down) that can be pressed; the smooth track bar is a slider with its range, step and position,
// which can be set; the status line is a status bar whose name is its text. Name and
// description are the widget's accessible name and description (a glow button without an
// accessible name is named by its caption), the help text its tooltip.

// Registers the interfaces with Qt. Each widget calls it when it is made; later calls do nothing.
void InstallWidgetAccessibility();
