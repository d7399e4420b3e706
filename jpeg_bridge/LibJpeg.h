#pragma once

// Error handling shared by the code that drives libjpeg. libjpeg reports a fatal error by
// calling error_exit, which must not return; ours records the message code and longjmps back
// into RunLibJpeg, which destroys libjpeg's state and reports the failure to its caller. No C++
// exception ever passes through libjpeg.
//
// Usage:
//
//   TLibJpegErrors Errors;
//   jpeg_decompress_struct Info;
//   int Width = 0;
//   if (!RunLibJpeg(Info, Errors, [&] {
//           jpeg_mem_src(&Info, Data, Size);
//           jpeg_read_header(&Info, TRUE);
//           Width = static_cast<int>(Info.image_width);
//       }))
//       return Errors.MessageCode;
//
// The body runs in a frame that a fatal error jumps across: it must hold no object with a
// destructor (keep those in the caller, outside the call) and must not throw.

#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include <jerror.h>

// Progressive files with more scans than this are refused: real files have about ten, and each
// scan may cost a pass over the whole picture, so a small hostile file could keep the decoder
// busy for minutes.
inline constexpr int MaxJpegScans = 1000;

struct TLibJpegErrors {
    jpeg_error_mgr Manager;
    jpeg_progress_mgr Progress;
    std::jmp_buf Jump;
    int MessageCode = 0;            // libjpeg's code of the error that ended the work
    int SystemErrorCode = 0;        // errno at that moment, for errors of reading or writing files
    bool EndOfDataIsFatal = false;  // a premature end of the data ends the work, not padded
    bool SawEndOfData = false;      // the file ended before its end marker
    bool SawMissingData = false;    // the decoder needed data that was not there
    bool ScanLimitExceeded = false; // the work ended because of MaxJpegScans
    // The first warning that the data is damaged (LibJpegDetail::IsDamage) while the decoder
    // went on, with libjpeg's words for it; 0 and empty when there was none.
    int DamageCode = 0;
    char DamageText[JMSG_LENGTH_MAX] = {};
};

namespace LibJpegDetail {

[[noreturn]] inline void JumpOut(j_common_ptr Info) {
    auto* Errors = reinterpret_cast<TLibJpegErrors*>(Info->err);
    Errors->MessageCode = Info->err->msg_code;
    Errors->SystemErrorCode = errno;
    std::longjmp(Errors->Jump, 1);
}

// Warnings that the entropy-coded data is damaged: a segment that ends before its data is
// complete (a file cut short that still ends in an end marker), codes that decode to nothing, a
// restart marker out of place. libjpeg goes on past them with grey or garbled rows. Extraneous
// bytes before a marker, which common cameras write, and a missing end marker after complete
// data are not damage.
inline bool IsDamage(int MessageCode) noexcept {
    return MessageCode == JWRN_HIT_MARKER || MessageCode == JWRN_HUFF_BAD_CODE ||
           MessageCode == JWRN_ARITH_BAD_CODE || MessageCode == JWRN_MUST_RESYNC;
}

// Warnings are ignored (libjpeg goes on with damaged data; the first damage is noted), except a
// premature end of the data
// where the caller wants that to count as an error. A file that merely lacks its end marker
// after complete data also reaches the end early, but the decoder then never runs short of data;
// so the end counts only together with missing data.
inline void OnMessage(j_common_ptr Info, int Level) {
    auto* Errors = reinterpret_cast<TLibJpegErrors*>(Info->err);
    if (Level >= 0)
        return;
    if (IsDamage(Info->err->msg_code) && Errors->DamageCode == 0) {
        Errors->DamageCode = Info->err->msg_code;
        (*Info->err->format_message)(Info, Errors->DamageText);
    }
    if (Info->err->msg_code == JWRN_JPEG_EOF)
        Errors->SawEndOfData = true;
    else if (Info->err->msg_code == JWRN_HIT_MARKER)
        Errors->SawMissingData = true;
    if (Errors->EndOfDataIsFatal && Errors->SawEndOfData && Errors->SawMissingData) {
        Info->err->msg_code = JWRN_JPEG_EOF;
        JumpOut(Info);
    }
}

inline void OnProgress(j_common_ptr Info) {
    if (!Info->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(Info)->input_scan_number > MaxJpegScans) {
        auto* Errors = reinterpret_cast<TLibJpegErrors*>(Info->err);
        Errors->ScanLimitExceeded = true;
        Info->err->msg_code = JERR_BAD_SCAN_SCRIPT;
        JumpOut(Info);
    }
}

inline void Create(jpeg_decompress_struct& Info) {
    jpeg_create_decompress(&Info);
}
inline void Create(jpeg_compress_struct& Info) {
    jpeg_create_compress(&Info);
}
inline void Destroy(jpeg_decompress_struct& Info) {
    jpeg_destroy_decompress(&Info);
}
inline void Destroy(jpeg_compress_struct& Info) {
    jpeg_destroy_compress(&Info);
}

} // namespace LibJpegDetail

// Runs Body with Info created (jpeg_create_*) and hooked to Errors, and destroys Info afterwards
// on every path. Returns true when Body ran to its end, false when libjpeg ended the work with a
// fatal error; Errors then says which. Errors is cleared first, except EndOfDataIsFatal, which
// the caller sets beforehand. Kept out of line so that the jump target's frame is this function
// alone: the caller's variables are never in a frame that longjmp restores.
template <class TInfo, class TBody>
[[gnu::noinline]] bool RunLibJpeg(TInfo& Info, TLibJpegErrors& Errors, TBody&& Body) noexcept {
    std::memset(&Info, 0, sizeof Info);
    std::memset(&Errors.Manager, 0, sizeof Errors.Manager);
    std::memset(&Errors.Progress, 0, sizeof Errors.Progress);
    Errors.MessageCode = 0;
    Errors.SystemErrorCode = 0;
    Errors.SawEndOfData = false;
    Errors.SawMissingData = false;
    Errors.ScanLimitExceeded = false;
    Errors.DamageCode = 0;
    Errors.DamageText[0] = '\0';
    Info.err = jpeg_std_error(&Errors.Manager);
    Errors.Manager.error_exit = LibJpegDetail::JumpOut;
    Errors.Manager.emit_message = LibJpegDetail::OnMessage;
    Errors.Progress.progress_monitor = LibJpegDetail::OnProgress;
    if (setjmp(Errors.Jump)) {
        LibJpegDetail::Destroy(Info);
        return false;
    }
    LibJpegDetail::Create(Info);
    // jpeg_create_* clears every field but the error manager, so the progress hook (the scan
    // limit) goes in only now.
    Info.progress = &Errors.Progress;
    Body();
    LibJpegDetail::Destroy(Info);
    return true;
}
