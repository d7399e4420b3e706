#include "app/MemoryStatus.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryStatusTest, FiguresFromMemInfoText) {
    struct TCase {
        const char* Text;
        TMemoryStatus Expected;
    };
    const TCase Cases[] = {
        // 3 GiB total, 1 GiB available: two thirds in use, 66.7 rounds to 67.
        {"MemTotal:        3145728 kB\nMemFree:          100000 kB\n"
         "MemAvailable:    1048576 kB\nBuffers:            1000 kB\n",
         {67, 3221225472ull, 1073741824ull}},
        // 64 GiB: no 32-bit figure holds it.
        {"MemTotal: 67108864 kB\nMemAvailable: 67108864 kB\n", {0, 68719476736ull, 68719476736ull}},
        // Kernels without MemAvailable: MemFree stands in.
        {"MemTotal: 1000 kB\nMemFree: 250 kB\n", {75, 1024000, 256000}},
        // Similar names are not confused; available above total counts as all.
        {"MemTotalX: 5 kB\nMemTotal: 100 kB\nMemAvailable: 200 kB\n", {0, 102400, 102400}},
        {"MemTotal: 200 kB\nMemAvailable: 1 kB\n", {100, 204800, 1024}},
        {"MemTotal: 200 kB\nMemAvailable: 199 kB", {1, 204800, 203776}},
        // Unreadable text gives zeros.
        {"", {0, 0, 0}},
        {"MemTotal: lots\nMemAvailable: 5 kB\n", {0, 0, 0}},
        {"MemTotal: 99999999999999999999 kB\n", {0, 0, 0}},
    };
    for (const TCase& C : Cases) {
        const TMemoryStatus Status = ParseMemInfo(C.Text);
        EXPECT_EQ(Status.MemoryLoad, C.Expected.MemoryLoad) << C.Text;
        EXPECT_EQ(Status.TotalPhys, C.Expected.TotalPhys) << C.Text;
        EXPECT_EQ(Status.AvailPhys, C.Expected.AvailPhys) << C.Text;
    }
}

TEST(MemoryStatusTest, ThisMachineHasMemory) {
    const TMemoryStatus Status = ReadMemoryStatus();
    EXPECT_GT(Status.TotalPhys, 0u);
    EXPECT_LE(Status.AvailPhys, Status.TotalPhys);
    EXPECT_LE(Status.MemoryLoad, 100u);
}

} // namespace
