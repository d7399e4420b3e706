#include "app/InlayFileName.h"

#include "base/FileName.h"

std::string ProposedInlayFileName(const std::string& InputFileName) {
    if (InputFileName.empty() || InputFileName.size() == ExtractFilePath(InputFileName).size())
        return {};
    return ChangeFileExt(InputFileName, "") + "-inlay.jpg";
}

std::string InlayFolderOf(const std::string& FileName) {
    return ExtractFilePath(FileName);
}
