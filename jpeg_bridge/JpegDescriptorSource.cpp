#include "jpeg_bridge/JpegDescriptorSource.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <unistd.h>

#include <jerror.h>

namespace {

constexpr std::size_t BufferBytes = 65536;

// libjpeg's source manager first, so that libjpeg's pointer to it is a pointer to the whole.
struct TDescriptorSource {
    jpeg_source_mgr Manager;
    int Handle;
    off_t Offset; // of the next byte to read from the file
    JOCTET* Buffer;
    bool AtStart;
};

TDescriptorSource& SourceOf(j_decompress_ptr Info) {
    return *reinterpret_cast<TDescriptorSource*>(Info->src);
}

void InitSource(j_decompress_ptr Info) {
    SourceOf(Info).AtStart = true;
}

boolean FillInputBuffer(j_decompress_ptr Info) {
    TDescriptorSource& Source = SourceOf(Info);
    ssize_t Count;
    do
        Count = ::pread(Source.Handle, Source.Buffer, BufferBytes, Source.Offset);
    while (Count < 0 && errno == EINTR);
    if (Count < 0)
        ERREXIT(Info, JERR_FILE_READ);
    if (Count == 0) {
        if (Source.AtStart)
            ERREXIT(Info, JERR_INPUT_EMPTY);
        // As libjpeg's file source: warn, and end the data with an end marker.
        WARNMS(Info, JWRN_JPEG_EOF);
        Source.Buffer[0] = 0xFF;
        Source.Buffer[1] = JPEG_EOI;
        Count = 2;
    } else {
        Source.Offset += Count;
    }
    Source.Manager.next_input_byte = Source.Buffer;
    Source.Manager.bytes_in_buffer = static_cast<std::size_t>(Count);
    Source.AtStart = false;
    return TRUE;
}

// Data beyond the buffer is skipped without reading it.
void SkipInputData(j_decompress_ptr Info, long Count) {
    if (Count <= 0)
        return;
    TDescriptorSource& Source = SourceOf(Info);
    const auto Bytes = static_cast<std::size_t>(Count);
    if (Bytes <= Source.Manager.bytes_in_buffer) {
        Source.Manager.next_input_byte += Bytes;
        Source.Manager.bytes_in_buffer -= Bytes;
        return;
    }
    Source.Offset += static_cast<off_t>(Bytes - Source.Manager.bytes_in_buffer);
    Source.Manager.next_input_byte = Source.Buffer;
    Source.Manager.bytes_in_buffer = 0;
}

void TermSource(j_decompress_ptr) {}

} // namespace

void UseDescriptorSource(jpeg_decompress_struct& Info, int Handle) {
    const auto Common = reinterpret_cast<j_common_ptr>(&Info);
    auto* Source = static_cast<TDescriptorSource*>(
        (*Info.mem->alloc_small)(Common, JPOOL_PERMANENT, sizeof(TDescriptorSource)));
    Source->Buffer = static_cast<JOCTET*>(
        (*Info.mem->alloc_small)(Common, JPOOL_PERMANENT, BufferBytes * sizeof(JOCTET)));
    Source->Handle = Handle;
    Source->Offset = 0;
    Source->AtStart = true;
    Source->Manager.init_source = InitSource;
    Source->Manager.fill_input_buffer = FillInputBuffer;
    Source->Manager.skip_input_data = SkipInputData;
    Source->Manager.resync_to_restart = jpeg_resync_to_restart;
    Source->Manager.term_source = TermSource;
    Source->Manager.next_input_byte = nullptr;
    Source->Manager.bytes_in_buffer = 0;
    Info.src = &Source->Manager;
}
