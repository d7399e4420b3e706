#pragma once

// A helper process that must not outlive the program that started it (the batch command's PDF
// writer): the system kills it as soon as its parent ends, however the parent ends (also by
// SIGKILL), so that it never writes an output after the command that asked for it is gone.

// Asks the system to kill this process with SIGKILL when its parent ends, then checks that the
// parent is still the process ParentId (it may have ended before the request was made). Returns
// false when the parent is gone already or the request failed: the caller then ends at once.
bool EndWithParent(long ParentId) noexcept;
