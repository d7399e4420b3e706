#pragma once

// The program's last resort for what it cannot put anywhere else.

#include <string>

// Writes Text to standard error as one piece and flushes it. Never raises.
void WriteToStandardError(const std::string& Text) noexcept;
