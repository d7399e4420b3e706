// The fork-join helper: both bands done, each by its own thread, and the second thread joined
// before the call returns, also when a band throws; the exceptions reach the caller.

#include "base/ForkJoin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(ForkJoinTest, DoesEveryItemOnceInTwoBands) {
    std::vector<int> Done(1000, 0);
    std::mutex Lock;
    std::vector<std::pair<int, int>> Bands;
    std::vector<std::thread::id> Threads;
    ForkJoin(0, 700, 1000, [&](int First, int End) {
        {
            const std::lock_guard Guard(Lock);
            Bands.emplace_back(First, End);
            Threads.push_back(std::this_thread::get_id());
        }
        for (int I = First; I < End; ++I)
            ++Done[std::size_t(I)];
    });
    for (std::size_t I = 0; I < Done.size(); ++I)
        ASSERT_EQ(Done[I], 1) << "item " << I;
    ASSERT_EQ(Bands.size(), 2u) << "a second thread is to be had here";
    EXPECT_NE(Threads[0], Threads[1]);
    const auto Upper = Bands[0].first == 0 ? 0 : 1;
    EXPECT_EQ(Bands[std::size_t(Upper)], std::make_pair(0, 700));
    EXPECT_EQ(Bands[std::size_t(1 - Upper)], std::make_pair(700, 1000));
    EXPECT_EQ(Threads[std::size_t(Upper)], std::this_thread::get_id())
        << "the upper band is the calling thread's";
}

// Which band throws, and what reaches the caller; the lower band is always finished first.
struct TThrowCase {
    const char* Name;
    bool UpperThrows;
    bool LowerThrows;
    const char* Caught;
};

class ForkJoinThrowTest : public testing::TestWithParam<TThrowCase> {};

TEST_P(ForkJoinThrowTest, CarriesTheErrorAfterBothBandsEnded) {
    const TThrowCase& C = GetParam();
    std::atomic<bool> LowerFinished{false};
    try {
        ForkJoin(0, 5, 10, [&](int First, int) {
            if (First == 0) {
                if (C.UpperThrows)
                    throw std::runtime_error("upper");
                return;
            }
            // The lower band takes its time: the call must still wait for it.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            LowerFinished = true;
            if (C.LowerThrows)
                throw std::runtime_error("lower");
        });
        EXPECT_STREQ(C.Caught, "");
    } catch (const std::runtime_error& E) {
        EXPECT_STREQ(E.what(), C.Caught);
    }
    EXPECT_TRUE(LowerFinished) << "returned before the second thread ended";
}

INSTANTIATE_TEST_SUITE_P(Bands, ForkJoinThrowTest,
                         testing::Values(TThrowCase{"Neither", false, false, ""},
                                         TThrowCase{"Upper", true, false, "upper"},
                                         TThrowCase{"Lower", false, true, "lower"},
                                         TThrowCase{"BothUpperWins", true, true, "upper"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
