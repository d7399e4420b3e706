#pragma once

// The name the save dialog proposes for an inlay: the input picture's name with "-inlay" appended
// and the extension ".jpg", in the input's folder (or where the last inlay went, when that folder
// cannot be written); a name the person typed is proposed again for the same picture only.

#include <optional>
#include <string>

// "/scans/night-trains.jpg" gives "/scans/night-trains-inlay.jpg", "cover" gives
// "cover-inlay.jpg"; "" (no picture opened yet) gives "".
std::string ProposedInlayFileName(const std::string& InputFileName);

// The folder part of FileName, its separator included ("" for a bare name).
std::string InlayFolderOf(const std::string& FileName);

// The last inlay saved: its file and the picture it was made from.
struct TLastSave {
    std::string FileName;
    std::string PictureFileName;
};

// The name the save dialog proposes for the inlay of the picture InputFileName: the name saved
// last when it was saved for this very picture (a name the person typed is kept for it), else
// ProposedInlayFileName in the picture's folder, or in the last save's folder when
// FolderWritable says the picture's folder cannot be written. With no picture opened, the name
// saved last (or "").
template <class TFolderWritable>
std::string ProposedSaveFileName(const std::string& InputFileName,
                                 const std::optional<TLastSave>& LastSave,
                                 TFolderWritable&& FolderWritable) {
    if (LastSave && LastSave->PictureFileName == InputFileName)
        return LastSave->FileName;
    const std::string Proposed = ProposedInlayFileName(InputFileName);
    if (Proposed.empty())
        return LastSave ? LastSave->FileName : std::string();
    const std::string Folder = InlayFolderOf(Proposed);
    if (LastSave && !FolderWritable(Folder))
        return InlayFolderOf(LastSave->FileName) + Proposed.substr(Folder.size());
    return Proposed;
}
