#include "raster/Picture.h"

#include "base/FileName.h"
#include "base/FileStream.h"
#include "raster/Bitmap.h"

#include <algorithm>

namespace {

// The picture kinds whose files this program never reads: their entries exist so that such a
// file is recognised, and loading one is refused.
class TUnreadableGraphic : public TGraphic {
public:
    int Width() const noexcept override { return 0; }
    int Height() const noexcept override { return 0; }
    void LoadFromStream(TFileStream&) override {
        throw EInvalidGraphic(std::string(ClassName()) + " pictures are not supported");
    }
    void Draw(TBitmap32&) const override {}
};

class TIcon : public TUnreadableGraphic {
public:
    const char* ClassName() const noexcept override { return "TIcon"; }
};

class TMetafile : public TUnreadableGraphic {
public:
    const char* ClassName() const noexcept override { return "TMetafile"; }
};

class TOleGraphic : public TUnreadableGraphic {
public:
    const char* ClassName() const noexcept override { return "TOleGraphic"; }
};

TPictureRegistry MakeProgramRegistry() {
    TPictureRegistry Registry;
    // The platform's kinds; the program adds its own (JPEG) at start.
    Registry.RegisterKind<TBitmap>("bmp", "TBitmap");
    Registry.RegisterKind<TIcon>("ico", "TIcon");
    Registry.RegisterKind<TMetafile>("emf", "TMetafile");
    Registry.RegisterKind<TMetafile>("wmf", "TMetafile");
    Registry.RegisterKind<TOleGraphic>("", "TOleGraphic");
    return Registry;
}

std::string LowerAscii(std::string Text) {
    for (char& C : Text)
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    return Text;
}

// The extension without its dot, as spelt in FileName.
std::string ExtensionOf(const std::string& FileName) {
    const std::string Extension = ExtractFileExt(FileName);
    return Extension.empty() ? Extension : Extension.substr(1);
}

} // namespace

void TPictureRegistry::Register(std::string Extension, std::string KindName,
                                TGraphicFactory Create) {
    FFormats.push_back({std::move(Extension), std::move(KindName), std::move(Create)});
}

bool TPictureRegistry::Contains(const std::string& Extension, const std::string& KindName) const {
    return std::any_of(FFormats.begin(), FFormats.end(), [&](const TPictureFileFormat& F) {
        return F.Extension == Extension && F.KindName == KindName;
    });
}

const TPictureFileFormat* TPictureRegistry::FindByFileName(const std::string& FileName) const {
    const std::string Extension = LowerAscii(ExtensionOf(FileName));
    const auto Found =
        std::find_if(FFormats.rbegin(), FFormats.rend(),
                     [&](const TPictureFileFormat& F) { return F.Extension == Extension; });
    return Found == FFormats.rend() ? nullptr : &*Found;
}

TPictureRegistry& PictureRegistry() {
    static TPictureRegistry Registry = MakeProgramRegistry();
    return Registry;
}

void TPicture::LoadFromFile(const std::string& FileName, const TPictureRegistry& Registry) {
    const TPictureFileFormat* Format = Registry.FindByFileName(FileName);
    if (!Format)
        throw EInvalidGraphic("Unknown picture file extension (." + ExtensionOf(FileName) + ")");
    std::unique_ptr<TGraphic> Graphic = Format->Create();
    TFileStream Stream(FileName);
    Graphic->LoadFromStream(Stream);
    FGraphic = std::move(Graphic);
}
