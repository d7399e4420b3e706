#include "raster/Resampler.h"

#include "raster/Transfer.h"

#include <map>

void TBitmap32Resampler::AssignSettings(const TCustomResampler& Source) {
    if (const auto* Other = dynamic_cast<const TBitmap32Resampler*>(&Source))
        FPixelAccessMode = Other->FPixelAccessMode;
}

void TNearestResampler::Resample(TBitmap32& Dst, const TRect& DstRect, const TRect& Clip,
                                 const TBitmap32& Src, const TRect& SrcRect) const {
    NearestStretch(Dst, DstRect, Clip, Src, SrcRect);
}

namespace {

std::map<std::string, TResamplerFactory>& Registry() {
    static std::map<std::string, TResamplerFactory> Classes{
        {"TNearestResampler", [] { return std::make_unique<TNearestResampler>(); }},
    };
    return Classes;
}

} // namespace

void RegisterResamplerClass(const std::string& ClassName, TResamplerFactory Factory) {
    Registry()[ClassName] = std::move(Factory);
}

TResamplerFactory FindResamplerClass(const std::string& ClassName) {
    const auto& Classes = Registry();
    const auto Found = Classes.find(ClassName);
    return Found == Classes.end() ? TResamplerFactory{} : Found->second;
}
