#include "base/TemporaryNameGuard.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

constexpr std::array<int, 4> TerminatingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

enum : int { SlotFree, SlotFilling, SlotReady };

struct TSlot {
    std::atomic<int> State{SlotFree};
    char Name[PATH_MAX];
};

// Constant-initialised and without destructors, so that the handler may read them at any moment,
// also while the program exits.
constinit std::array<TSlot, 32> Slots{};
constinit std::mutex HookMutex;
constinit int LivingGuards = 0; // under HookMutex
constinit std::array<struct sigaction, TerminatingSignals.size()> Previous{};
constinit std::array<bool, TerminatingSignals.size()> Hooked{};

void OnTerminatingSignal(int Signal, siginfo_t* Info, void* Context) {
    const int SavedErrno = errno;
    // unlink is safe in a signal handler; a slot is read only once it is completely filled.
    for (TSlot& Slot : Slots)
        if (Slot.State.load(std::memory_order_acquire) == SlotReady)
            ::unlink(Slot.Name);
    errno = SavedErrno;
    for (std::size_t I = 0; I < TerminatingSignals.size(); ++I) {
        if (TerminatingSignals[I] != Signal)
            continue;
        const struct sigaction& Before = Previous[I];
        if (Before.sa_flags & SA_SIGINFO) {
            Before.sa_sigaction(Signal, Info, Context);
        } else if (Before.sa_handler != SIG_DFL && Before.sa_handler != SIG_IGN) {
            Before.sa_handler(Signal);
        } else {
            // What the signal did before: end the program, once this handler has returned.
            ::sigaction(Signal, &Before, nullptr);
            ::raise(Signal);
        }
    }
}

bool IsOurs(const struct sigaction& Action) {
    return (Action.sa_flags & SA_SIGINFO) && Action.sa_sigaction == OnTerminatingSignal;
}

void HookSignals() noexcept {
    struct sigaction Ours {};
    Ours.sa_sigaction = OnTerminatingSignal;
    Ours.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&Ours.sa_mask);
    for (const int Signal : TerminatingSignals)
        sigaddset(&Ours.sa_mask, Signal);
    for (std::size_t I = 0; I < TerminatingSignals.size(); ++I) {
        struct sigaction Current {};
        Hooked[I] = false;
        // An ignored signal ends nothing, so it stays ignored.
        if (::sigaction(TerminatingSignals[I], nullptr, &Current) != 0 ||
            (!(Current.sa_flags & SA_SIGINFO) && Current.sa_handler == SIG_IGN))
            continue;
        Previous[I] = Current;
        Hooked[I] = ::sigaction(TerminatingSignals[I], &Ours, nullptr) == 0;
    }
}

void UnhookSignals() noexcept {
    for (std::size_t I = 0; I < TerminatingSignals.size(); ++I) {
        struct sigaction Current {};
        // A handler installed after ours stays.
        if (Hooked[I] && ::sigaction(TerminatingSignals[I], nullptr, &Current) == 0 &&
            IsOurs(Current))
            ::sigaction(TerminatingSignals[I], &Previous[I], nullptr);
        Hooked[I] = false;
    }
}

} // namespace

TTemporaryNameGuard::TTemporaryNameGuard(const std::string& FileName) noexcept {
    if (FileName.empty() || FileName.size() >= PATH_MAX)
        return;
    for (std::size_t I = 0; I < Slots.size(); ++I) {
        int Expected = SlotFree;
        if (!Slots[I].State.compare_exchange_strong(Expected, SlotFilling))
            continue;
        std::memcpy(Slots[I].Name, FileName.c_str(), FileName.size() + 1);
        {
            const std::lock_guard Lock(HookMutex);
            if (LivingGuards++ == 0)
                HookSignals();
        }
        Slots[I].State.store(SlotReady, std::memory_order_release);
        FSlot = static_cast<int>(I);
        return;
    }
}

TTemporaryNameGuard::~TTemporaryNameGuard() {
    if (FSlot < 0)
        return;
    Slots[static_cast<std::size_t>(FSlot)].State.store(SlotFilling, std::memory_order_release);
    {
        const std::lock_guard Lock(HookMutex);
        if (--LivingGuards == 0)
            UnhookSignals();
    }
    Slots[static_cast<std::size_t>(FSlot)].State.store(SlotFree, std::memory_order_release);
}
