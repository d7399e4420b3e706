#include "app/DropCandidates.h"

#include "base/FileName.h"
#include "picture_codecs/CodecPictures.h"

#include <filesystem>
#include <system_error>

namespace {

bool HasPictureExtension(const std::string& FileName) {
    const std::string Extension = ExtractFileExt(FileName);
    return SameTextAscii(Extension, ".jpg") || SameTextAscii(Extension, ".jpeg") ||
           IsCodecPictureName(FileName);
}

bool IsExistingRegularFile(const std::string& FileName) {
    std::error_code Error; // a name the system cannot examine simply does not qualify
    return std::filesystem::is_regular_file(FileName, Error);
}

} // namespace

int ChooseDropEffect(bool Ctrl, bool Shift, int OfferedEffects) {
    const int Allowed = OfferedEffects & (DropEffectCopy | DropEffectLink);
    const int Wanted = Ctrl && Shift ? DropEffectLink : Ctrl ? DropEffectCopy : DropEffectMove;
    if ((Allowed & Wanted) != 0)
        return Wanted;
    for (const int Effect : {DropEffectCopy, DropEffectMove, DropEffectLink})
        if ((Allowed & Effect) != 0)
            return Effect;
    return DropEffectNone;
}

std::optional<std::string> ChooseDropCandidate(const std::vector<std::string>& DroppedFileNames,
                                               const std::vector<std::string>& MappedFileNames) {
    for (std::size_t i = 0; i < DroppedFileNames.size(); ++i) {
        const std::string& Candidate =
            i < MappedFileNames.size() ? MappedFileNames[i] : DroppedFileNames[i];
        if (HasPictureExtension(Candidate) && IsExistingRegularFile(Candidate))
            return Candidate;
    }
    return std::nullopt;
}
