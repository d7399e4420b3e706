#pragma once

// The errors of writing a whole file of the program's own (an inlay as PPM, PNG or TIFF):
// EFCreateError "Cannot create file "%s". %s" when the file cannot be made, EWriteError "Cannot
// write file "%s". %s" when writing it fails, each with the system's text.

#include "base/Exception.h"

DECLARE_EXCEPTION_CLASS(EFCreateError, Exception);
DECLARE_EXCEPTION_CLASS(EWriteError, Exception);
