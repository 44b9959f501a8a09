// The ALOHA write sequence: one wake-up, parameter 1 then 2, stop at the
// first write the logger refuses.

#include "AlohaWrite.h"
#include "FakeLink.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct WriteCase {
    const char* name;
    const char* reply1;  // the logger's answer to the time-out line; "" silent
    const char* reply2;
    bool written;
    Lines lines;
};

class AlohaWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(AlohaWrite, Sequence)
{
    const WriteCase& c = GetParam();
    InstantPauses pauses;
    FakeLink link;
    link.Respond("\n", "\n");
    link.Respond("MOD01 30-\n", c.reply1);
    link.Respond("MOD02 5\n", c.reply2);
    CAlohaSettings settings(nullptr, "ALOHA   202", "30-", "5");
    EXPECT_EQ(WriteAlohaSettings(settings), c.written);
    EXPECT_EQ(link.Lines(), c.lines);
    EXPECT_TRUE(pauses.Durations().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, AlohaWrite,
    ::testing::Values(
        WriteCase{"BothConfirmed", "OK\n\r", "OK\n\r", true, {"\n", "MOD01 30-\n", "MOD02 5\n"}},
        WriteCase{"TimeoutRefused", "ERR\n\r", "OK\n\r", false, {"\n", "MOD01 30-\n"}},
        WriteCase{"TimeoutUnanswered", "", "OK\n\r", false, {"\n", "MOD01 30-\n"}},
        WriteCase{"StationRefused", "OK\n\r", "ERR\n\r", false, {"\n", "MOD01 30-\n", "MOD02 5\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
