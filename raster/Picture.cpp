#include "raster/Picture.h"

#include "raster/Bitmap.h"
#include "raster/FileName.h"
#include "raster/FileStream.h"
#include "raster/JPEGImage.h"

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

template <class TKind>
void RegisterKind(TPictureRegistry& Registry, const char* Extension, const char* KindName) {
    Registry.Register(Extension, KindName, [] { return std::make_unique<TKind>(); });
}

TPictureRegistry MakeProgramRegistry() {
    TPictureRegistry Registry;
    // The platform's kinds first, then JPEG, as the program adds it at start.
    RegisterKind<TBitmap>(Registry, "bmp", "TBitmap");
    RegisterKind<TIcon>(Registry, "ico", "TIcon");
    RegisterKind<TMetafile>(Registry, "emf", "TMetafile");
    RegisterKind<TMetafile>(Registry, "wmf", "TMetafile");
    RegisterKind<TOleGraphic>(Registry, "", "TOleGraphic");
    RegisterKind<TJPEGImage>(Registry, "jpg", "TJPEGImage");
    RegisterKind<TJPEGImage>(Registry, "jpeg", "TJPEGImage");
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

const TPictureFileFormat* TPictureRegistry::FindByFileName(const std::string& FileName) const {
    const std::string Extension = LowerAscii(ExtensionOf(FileName));
    const auto Found =
        std::find_if(FFormats.rbegin(), FFormats.rend(),
                     [&](const TPictureFileFormat& F) { return F.Extension == Extension; });
    return Found == FFormats.rend() ? nullptr : &*Found;
}

const TPictureRegistry& PictureRegistry() {
    static const TPictureRegistry Registry = MakeProgramRegistry();
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
