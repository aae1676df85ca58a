#include "platform/os/group_guardian.h"
#include "platform/os/group_registry.h"

#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

TEST(GroupRegistryTest, AGroupIsLetGoOfOnlyWhenNoProgramOfItRunsItsGuardianAside)
{
    const struct {
        const char* what;
        bool memberEnded; // a program of the group: ended and waiting to be collected, or running
        bool withMember;
        bool kept;
    } cases[] = {
        {"only the guardian", false, false, false},
        {"a program that runs", false, true, true},
        {"a program that has ended", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<os::GroupGuardian> guardian = os::GroupGuardian::start();
        ASSERT_TRUE(guardian);
        const pid_t group = guardian->group();
        os::GroupRegistry registry;
        registry.hold(group, std::move(guardian));
        // The table as the system would show it; the member's number is one no process has.
        std::vector<os::ProcessInfo> table = {{group, ::getpid(), group, false}};
        if (c.withMember)
            table.push_back({group + 100000000, group, group, c.memberEnded});
        EXPECT_EQ(registry.runs(group, table), c.kept);
        registry.letGoOfIdle(table);
        EXPECT_EQ(registry.holds(group), c.kept);
        EXPECT_EQ(registry.guardians().empty(), !c.kept);
        if (!c.kept) {
            EXPECT_TRUE(::kill(group, 0) != 0 && errno == ESRCH) << "its guardian ended and was collected";
            EXPECT_TRUE(registry.empty());
        }
    }
}

} // namespace
