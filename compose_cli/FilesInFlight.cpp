#include "compose_cli/FilesInFlight.h"

#include <system_error>
#include <utility>

TFilesInFlight::~TFilesInFlight() {
    for (TFile& File : FFiles)
        if (File.Done.valid())
            File.Done.wait();
}

void TFilesInFlight::Start(std::function<void()> Work, std::function<void()> Finish) {
    while (InFlight() >= FLimit)
        FinishOldest();
    if (FLimit > 1) {
        try {
            FFiles.push_back(TFile{std::async(std::launch::async, Work), std::move(Finish)});
            return;
        } catch (const std::system_error&) {
            // No thread to be had: this file is done here, after those before it.
        }
    }
    FinishAll();
    Work();
    Finish();
}

void TFilesInFlight::FinishAll() {
    while (!FFiles.empty())
        FinishOldest();
}

void TFilesInFlight::FinishOldest() {
    TFile File = std::move(FFiles.front());
    FFiles.pop_front();
    File.Done.get();
    File.Finish();
}
