#pragma once

// The picture of a print sheet with a bleed: the inlay with its edge pixels repeated beyond each
// side, so that a cut a little off the line leaves no white edge.

class TBitmap32;

// Makes Extended Inlay's width + 2 * Columns by height + 2 * Rows: Inlay's pixels in the middle,
// each of the Columns columns left and right a copy of the edge column beside it, each of the Rows
// rows above and below a copy of the (extended) edge row. Inlay must not be empty; Columns and
// Rows are not below 0. Throws what SetDimensions throws when the store cannot be had.
void ExtendByEdgePixels(const TBitmap32& Inlay, int Columns, int Rows, TBitmap32& Extended);
