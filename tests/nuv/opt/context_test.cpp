#include "nuv/opt/context.hpp"

#include <gtest/gtest.h>

#include <string>

#include "nuv/tag.hpp"

namespace nuv::opt {
namespace {

TEST(TagIndexTest, EqualExactlyWhenTextAndIndexAreEqual) {
  // Texts held in other storage than the constants: equality compares bytes, not addresses.
  const std::string text = "nuv:context";
  struct Case {
    const char* what;
    TagIndex left;
    TagIndex right;
    bool equal;
  };
  const Case cases[] = {
      {"same text elsewhere, same index", TagIndex{text, 1}, context::node, true},
      {"other index", TagIndex{text, 3}, context::node, false},
      {"other case", TagIndex{"nuv:Context", 1}, context::node, false},
      {"prefix of the text", TagIndex{Tag(text).substr(0, 10), 1}, context::node, false},
      {"longer text", TagIndex{"nuv:context ", 1}, context::node, false},
      {"empty tags", TagIndex{}, TagIndex{"", 0}, true},
      {"two contexts", context::progress, context::new_incumbent, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.left == c.right, c.equal);
    EXPECT_EQ(c.right == c.left, c.equal);
    EXPECT_EQ(c.left != c.right, !c.equal);
  }
}

TEST(TagIndexTest, FrameworkTagsHaveTheirTextsAndIndices) {
  struct Case {
    const char* what;
    const TagIndex& tag;
    Tag text;
    std::uint32_t index;
  };
  const Case cases[] = {
      {"progress", context::progress, "nuv:context", 0},
      {"node", context::node, "nuv:context", 1},
      {"new incumbent", context::new_incumbent, "nuv:context", 2},
      {"fix command", command::fix, "nuv:command", 0},
      {"indicator link", constraint_link::indicator, "nuv:constr_link", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.tag.tag, c.text);
    EXPECT_EQ(c.tag.index, c.index);
  }
  EXPECT_EQ(variable::tag, "nuv:variable");
  EXPECT_EQ(constraint::tag, "nuv:constraint");
}

}  // namespace
}  // namespace nuv::opt
