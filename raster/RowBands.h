#pragma once

// Large pixel transfers share their rows between the calling thread and a second one: a copy
// of tens of megabytes is bound by memory traffic, and one core cannot keep the memory busy
// alone. Each row is written by exactly one thread; small transfers stay on the calling thread.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>

// Transfers that move at least this many bytes share their rows.
inline constexpr std::uint64_t RowBandsFromBytes = std::uint64_t{8} << 20;

// Runs Work(First, End) for the rows [First, End): in two bands on two threads when the rows
// move at least RowBandsFromBytes (BytesPerRow each) and the machine has a second core,
// otherwise at once on the calling thread. Work must not throw; it may run on either thread.
template <class TWork>
void ForRowBands(int First, int End, std::size_t BytesPerRow, TWork&& Work) {
    const auto Bytes = static_cast<std::uint64_t>(End - First) * BytesPerRow;
    static const bool SecondCore = std::thread::hardware_concurrency() > 1;
    if (End - First < 2 || Bytes < RowBandsFromBytes || !SecondCore) {
        Work(First, End);
        return;
    }
    const int Middle = First + (End - First) / 2;
    std::thread Lower;
    try {
        Lower = std::thread([&Work, Middle, End] { Work(Middle, End); });
    } catch (const std::system_error&) {
        Work(First, End); // no second thread to be had
        return;
    }
    Work(First, Middle);
    Lower.join();
}
