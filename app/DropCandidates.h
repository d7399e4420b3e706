#pragma once

// The two decisions of a file drop on the input view that need no window: which effect the drop
// gets, and which of the dropped files is loaded.

#include <optional>
#include <string>
#include <vector>

// Drop effects as the drag-and-drop protocol numbers them (Qt::DropAction uses the same values).
constexpr int DropEffectNone = 0;
constexpr int DropEffectCopy = 1;
constexpr int DropEffectMove = 2;
constexpr int DropEffectLink = 4;
// The flag a drop target sets while it scrolls under the pointer; never part of a drop's effect.
constexpr int DropEffectScroll = static_cast<int>(0x80000000u);

// The effect of a drag over the input view. OfferedEffects is the set of effects the source
// offers; only copy and link are accepted. Ctrl and Shift held together want link, Ctrl alone
// copy, anything else move; the wanted effect is taken when accepted, else the first accepted of
// copy, move and link. Returns DropEffectNone when the drop must be refused. Bits other than the
// three effects in OfferedEffects are ignored.
int ChooseDropEffect(bool Ctrl, bool Shift, int OfferedEffects);

// The file a drop loads, or nothing. Position i is tested under MappedFileNames[i] while the
// mapping reaches that far, else under DroppedFileNames[i]; the list is walked in order and the
// first name that is an existing regular file (a folder never counts) with the extension ".jpg",
// ".jpeg", ".png", ".tif", ".tiff" or ".webp" (case of A-Z ignored, ExtractFileExt's rule) wins.
// Mapped names beyond the end of DroppedFileNames are not looked at. Looks at the file system but
// raises no error: a name that cannot be examined does not qualify.
std::optional<std::string> ChooseDropCandidate(const std::vector<std::string>& DroppedFileNames,
                                               const std::vector<std::string>& MappedFileNames);
