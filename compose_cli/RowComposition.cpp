#include "compose_cli/RowComposition.h"

#include "base/FileName.h"
#include "compose_cli/PpmFile.h"
#include "composer/StreamedInlay.h"
#include "composer/TrayCard.h"
#include "jpeg_bridge/JpegRowWriter.h"

#include <cstdlib>
#include <thread>

namespace {

// Whether a core is left for a second decoding thread. That thread first reads through the data
// of the rows above its part, which costs most of what it saves: it pays on a free core and only
// adds work where every core is busy already (by the system's load over the last minute).
bool SpareCore() {
    const unsigned Cores = std::thread::hardware_concurrency();
    double Load = 0;
    return Cores >= 2 && ::getloadavg(&Load, 1) == 1 && Load < Cores - 0.5;
}

} // namespace

int ComposeByRows(const TJpegRowReader& Scan, const std::string& Output,
                  std::optional<TInlayLayout> Layout, int Spine, bool TwoThreads,
                  const std::optional<TSpineCut>& Cut) {
    const int W = Scan.Width();
    const int H = Scan.Height();
    const TInlayRequest Request{Layout.value_or(ChooseInlayLayout(W, H)),
                                static_cast<double>(Spine), Cut};
    if (Cut)
        CheckExplicitCut(W, Request.Layout, *Cut);
    const int Columns = InlayInputColumns(PlanInlay(W, H, Request).Geometry);
    // An inlay without pixels is refused by the writers as the full way refuses it; there is
    // nothing to decode for it (the full way reads the file first; the command reads such a file
    // the full way when this one fails).
    TStreamedInlay Inlay(W, H, Request, 3, Columns > 0 ? Scan.RowPixels(Columns) : 0);
    if (Inlay.InlayWidth() > 0 && Inlay.InlayHeight() > 0)
        Scan.Decode(
            Columns, [&](int Y) { return Inlay.InputRow(Y); }, TwoThreads && SpareCore());

    const auto Row = [&](int Y) { return Inlay.InlayRow(Y); };
    if (SameTextAscii(ExtractFileExt(Output), ".ppm"))
        SavePpmRows(Output, Inlay.InlayWidth(), Inlay.InlayHeight(), Row);
    else
        SaveJpegRows(Output, Inlay.InlayWidth(), Inlay.InlayHeight(), InlaySaveQuality,
                     Inlay.Composition().Density, Row);
    return Inlay.InlayWidth();
}
