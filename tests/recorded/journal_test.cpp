// The packed journal gives back what was appended, with the JSON types and
// texts the lines are made of.
#include "recorded/journal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kvswx::recorded {
namespace {

TEST(Journal, ArgumentsComeBackAsTheirJsonTypes) {
    Journal journal;
    const std::wstring ascii = L"Drawing View1";
    const std::wstring wide = std::wstring(L"caf\u00e9 ") + wchar_t(0xD800);  // a lone surrogate
    const std::optional<std::wstring> none;
    const std::optional<std::wstring> title = L"t";
    const short flag = -1;
    journal.Append("A.B", "target", {ascii, wide, flag, 7, 0.5, 1e300, none, title, "callout", nullptr});
    journal.Append("C.D", "", {});
    ASSERT_EQ(journal.Size(), 2u);
    const auto entries = journal.Entries();
    EXPECT_EQ(entries[0].ToJson(),
              "{\"op\":\"A.B\",\"target\":\"target\",\"args\":[\"Drawing View1\",\"caf\xC3\xA9 \xEF\xBF\xBD\",-1,7,"
              "0.5,1e+300,null,\"t\",\"callout\",null]}");
    EXPECT_EQ(journal.ToJsonLines(), entries[0].ToJson() + "\n{\"op\":\"C.D\",\"target\":\"\",\"args\":[]}\n");
    journal.Clear();
    EXPECT_EQ(journal.Size(), 0u);
    EXPECT_EQ(journal.ToJsonLines(), "");
}

}  // namespace
}  // namespace kvswx::recorded
