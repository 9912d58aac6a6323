#include "archivers/archiver_command.h"

#include <gtest/gtest.h>

namespace pyx {
namespace {

struct CommandCase {
    const char* line;
    bool valid;
    ArchiverCommand::Op op;
    const char* archive;
    const char* destination;  // nullptr: none
};

TEST(ArchiverCommand, ParsesTheFormsTheCheckSends) {
    const CommandCase cases[] = {
        {" t \"/a/b c.lzh\"", true, ArchiverCommand::Op::Test, "/a/b c.lzh", nullptr},
        {"-t \"/a.zip\"", true, ArchiverCommand::Op::Test, "/a.zip", nullptr},
        {" x \"/d/a.lzh\"", true, ArchiverCommand::Op::Extract, "/d/a.lzh", nullptr},
        {"-x \"/d/a.zip\" \"/d/a/\"", true, ArchiverCommand::Op::Extract, "/d/a.zip", "/d/a"},
        {" x \"/d/a.lzh\" \"a\\\"", true, ArchiverCommand::Op::Extract, "/d/a.lzh", "a"},
        {"-x \"/r.rar\" \"/\"", true, ArchiverCommand::Op::Extract, "/r.rar", "/"},
        {" t \"/a.lzh\" \"/dest/\"", false, {}, nullptr, nullptr},  // test takes no destination
        {"-x \"/a.zip\" \"/dest\"", false, {}, nullptr, nullptr},   // destination without separator
        {" l \"/a.lzh\"", false, {}, nullptr, nullptr},
        {" t /a.lzh", false, {}, nullptr, nullptr},
        {" t \"/a.lzh", false, {}, nullptr, nullptr},
        {" t \"\"", false, {}, nullptr, nullptr},
        {"", false, {}, nullptr, nullptr},
        {"-", false, {}, nullptr, nullptr},
        {" t \"/a\" junk", false, {}, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto cmd = ParseArchiverCommand(c.line);
        ASSERT_EQ(cmd.has_value(), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(cmd->op, c.op);
        EXPECT_EQ(cmd->archive, c.archive);
        if (c.destination) {
            ASSERT_TRUE(cmd->destination.has_value());
            EXPECT_EQ(*cmd->destination, c.destination);
        } else {
            EXPECT_FALSE(cmd->destination.has_value());
        }
    }
}

}  // namespace
}  // namespace pyx
