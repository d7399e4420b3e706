#pragma once

// The error of the registry access layer. Its messages name the value concerned:
// "Invalid data type for 'Width'", "Failed to get data for 'Width'",
// "Failed to set data for 'Width'".

#include "base/Exception.h"

DECLARE_EXCEPTION_CLASS(ERegistryException, Exception);
