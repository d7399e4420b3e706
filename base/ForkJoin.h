#pragma once

// The program's one way of sharing work between two threads: a run of items (rows, most often)
// cut in two bands, the upper one done by the calling thread, the lower one by a second thread
// at the same time, and the call returning only once both are done.
//
// Contract of the caller, which nothing here checks:
// - Work(First, End) does the items [First, End) and nothing else: the two calls write disjoint
//   data, and whatever both read is complete before ForkJoin is called and not changed during
//   it. Data that settles itself on first access (a TBitmap32 whose store still owes its zero
//   fill, raster/Bitmap32.h) must be settled on the calling thread first: otherwise both threads
//   would settle it at once.
// - Work(First, Split) followed by Work(Split, End) gives the same result as Work(First, End):
//   where no second thread can be had, the calling thread does Work(First, End) alone.
// - Work is called as a const-qualified callable from either thread.
//
// Errors: an exception from either band is carried to the caller after both bands ended (the
// second thread is always joined, also when the calling thread's band threw); when both threw,
// the upper band's exception wins.

#include <exception>
#include <system_error>
#include <thread>

// Whether the machine has a second core for a second band. Splitting on one core only adds work.
inline bool HasSecondCore() noexcept {
    static const bool Second = std::thread::hardware_concurrency() > 1;
    return Second;
}

// Runs Work(First, Split) on the calling thread and Work(Split, End) on a second one, and returns
// when both are done. Not validated: First <= Split <= End.
template <class TWork>
void ForkJoin(int First, int Split, int End, const TWork& Work) {
    std::exception_ptr LowerError;
    std::thread Lower;
    try {
        Lower = std::thread([&Work, &LowerError, Split, End] {
            try {
                Work(Split, End);
            } catch (...) {
                LowerError = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        Work(First, End); // no second thread to be had
        return;
    }
    std::exception_ptr UpperError;
    {
        // Joins the second thread on every way out of this scope, before anything it uses goes.
        struct TJoin {
            std::thread& Thread;
            ~TJoin() { Thread.join(); }
        } Join{Lower};
        try {
            Work(First, Split);
        } catch (...) {
            UpperError = std::current_exception();
        }
    }
    if (UpperError)
        std::rethrow_exception(UpperError);
    if (LowerError)
        std::rethrow_exception(LowerError);
}
