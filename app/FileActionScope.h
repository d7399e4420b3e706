#pragma once

// What the window is doing with a file, for the status line's sentence about an error that
// interrupts it ("Couldn't read NAME: ..."). A TFileActionScope notes the action for as long as
// it lives and takes the note back when its block ends normally; an error leaving the block
// leaves the note behind for whoever handles the error, who takes it with TakeFileAction.

#include "app/StatusText.h"

#include <exception>
#include <string>
#include <utility>

struct TFileActionNote {
    TFileAction Action = TFileAction::None;
    std::string FileName;
};

// The note, leaving an empty one in its place.
inline TFileActionNote TakeFileAction(TFileActionNote& Note) noexcept {
    return std::exchange(Note, TFileActionNote{});
}

class TFileActionScope {
public:
    TFileActionScope(TFileActionNote& Note, TFileAction Action, std::string FileName)
        : FNote(Note), FOuter(std::exchange(Note, TFileActionNote{Action, std::move(FileName)})),
          FErrorsAtStart(std::uncaught_exceptions()) {}
    TFileActionScope(const TFileActionScope&) = delete;
    TFileActionScope& operator=(const TFileActionScope&) = delete;
    ~TFileActionScope() {
        if (std::uncaught_exceptions() == FErrorsAtStart)
            FNote = std::move(FOuter);
    }

private:
    TFileActionNote& FNote;
    TFileActionNote FOuter;
    int FErrorsAtStart;
};
