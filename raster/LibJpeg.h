#pragma once

// Error handling shared by the code that drives libjpeg. libjpeg reports a fatal error by
// calling error_exit, which must not return; ours records the message code and longjmps back
// to the setjmp of the function that called libjpeg. That function therefore keeps objects with
// destructors out of its own frame, releases libjpeg's state with jpeg_destroy, and returns a
// code that its caller turns into an exception. No C++ exception ever passes through libjpeg.
//
// Usage, in a function with trivially destructible locals only:
//
//   TLibJpegErrors Errors;
//   jpeg_decompress_struct Info;
//   PrepareErrors(Errors, Info);
//   if (setjmp(Errors.Jump)) { jpeg_destroy_decompress(&Info); return Errors.MessageCode; }
//   jpeg_create_decompress(&Info);
//   ...

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
    int MessageCode;        // libjpeg's code of the error that ended the work
    int SystemErrorCode;    // errno at that moment, for errors of reading or writing files
    bool EndOfDataIsFatal;  // a premature end of the data ends the work instead of being padded
    bool SawEndOfData;      // the file ended before its end marker
    bool SawMissingData;    // the decoder needed data that was not there
    bool ScanLimitExceeded; // the work ended because of MaxJpegScans
};

namespace LibJpegDetail {

[[noreturn]] inline void JumpOut(j_common_ptr Info) {
    auto* Errors = reinterpret_cast<TLibJpegErrors*>(Info->err);
    Errors->MessageCode = Info->err->msg_code;
    Errors->SystemErrorCode = errno;
    std::longjmp(Errors->Jump, 1);
}

// Warnings are ignored (libjpeg goes on with damaged data), except a premature end of the data
// where the caller wants that to count as an error. A file that merely lacks its end marker
// after complete data also reaches the end early, but the decoder then never runs short of data;
// so the end counts only together with missing data.
inline void OnMessage(j_common_ptr Info, int Level) {
    auto* Errors = reinterpret_cast<TLibJpegErrors*>(Info->err);
    if (Level >= 0)
        return;
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

} // namespace LibJpegDetail

// Zero-fills Info and Errors and hooks Errors into Info; call before setjmp and jpeg_create_*.
template <class TInfo>
void PrepareErrors(TLibJpegErrors& Errors, TInfo& Info) noexcept {
    std::memset(&Info, 0, sizeof Info);
    std::memset(&Errors, 0, sizeof Errors);
    Info.err = jpeg_std_error(&Errors.Manager);
    Errors.Manager.error_exit = LibJpegDetail::JumpOut;
    Errors.Manager.emit_message = LibJpegDetail::OnMessage;
    Errors.Progress.progress_monitor = LibJpegDetail::OnProgress;
    Info.progress = &Errors.Progress;
}
