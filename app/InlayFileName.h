#pragma once

// The name the save dialog proposes for an inlay before the user has chosen one: the input
// picture's name with "-inlay" appended and the extension ".jpg", in the input's folder.

#include <string>

// "/scans/night-trains.jpg" gives "/scans/night-trains-inlay.jpg", "cover" gives
// "cover-inlay.jpg"; "" (no picture opened yet) gives "".
std::string ProposedInlayFileName(const std::string& InputFileName);
