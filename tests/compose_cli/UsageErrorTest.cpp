// Each row of the usage-error tables is refused, with its reason, before anything is read.

#include "compose_cli/ComposeCommand.h"

#include "tests/compose_cli/UsageErrorTable.h"

#include <gmock/gmock.h>

TEST_P(UsageErrorTest, IsRefusedWithItsReason) {
    const TUsageCase& C = GetParam();
    try {
        ParseComposeArguments(C.Arguments);
        ADD_FAILURE() << "accepted";
    } catch (const EUsageError& E) {
        EXPECT_THAT(E.Message(), testing::HasSubstr(C.Reason));
    }
}
