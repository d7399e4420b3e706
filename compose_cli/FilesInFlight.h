#pragma once

// TFilesInFlight: runs the work for a stack of files on up to Limit threads at once and finishes
// each file (reports it) on the calling thread in the order the files were started, so that what
// a run prints does not depend on which file was done first.

#include <deque>
#include <functional>
#include <future>

class TFilesInFlight {
public:
    // Limit 1 runs each file's work on the calling thread, one after the other.
    explicit TFilesInFlight(int Limit) : FLimit(Limit < 1 ? 1 : Limit) {}
    // Waits for the files still in flight, without finishing them.
    ~TFilesInFlight();
    TFilesInFlight(const TFilesInFlight&) = delete;
    TFilesInFlight& operator=(const TFilesInFlight&) = delete;

    // Starts Work (which must not throw) for the next file, after finishing the oldest ones
    // while Limit are in flight; Finish runs once Work and every earlier file are done. Where no
    // thread can be had, Work runs on the calling thread.
    void Start(std::function<void()> Work, std::function<void()> Finish);

    // Finishes every file in flight, in order.
    void FinishAll();

    int InFlight() const noexcept { return static_cast<int>(FFiles.size()); }

private:
    struct TFile {
        std::future<void> Done;
        std::function<void()> Finish;
    };
    void FinishOldest();

    int FLimit;
    std::deque<TFile> FFiles;
};
