#include "nuv/opt/abstract_log.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace nuv::opt {
namespace {

std::string captured(const std::function<void()>& write) {
  testing::internal::CaptureStdout();
  write();
  std::cout.flush();
  return testing::internal::GetCapturedStdout();
}

TEST(AbstractLogTest, DefaultLogWritesEachKindOfLine) {
  const AbstractLog log;
  struct Case {
    const char* what;
    std::function<void()> write;
    std::string text;
  };
  const Case cases[] = {
      {"newline", [&] { log.newline(); }, "\n"},
      {"print", [&] { log.print("a b"); }, "a b"},
      {"println", [&] { log.println("line"); }, "line\n"},
      {"println empty", [&] { log.println(""); }, "\n"},
      {"info", [&] { log.info("Solving"); }, "--- Solving\n"},
      {"info empty", [&] { log.info(""); }, "--- \n"},
      {"warning", [&] { log.warning("Xpress", "slow"); }, "*** Xpress: slow\n"},
      {"warning untitled", [&] { log.warning("", "slow"); }, "*** slow\n"},
      {"error", [&] { log.error("Xpress", "failed"); }, "*** Xpress: failed\n"},
      {"error untitled", [&] { log.error("", "failed"); }, "*** failed\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(captured(c.write), c.text);
  }
}

TEST(AbstractLogTest, WarningAndErrorWriteTheSameBytes) {
  const AbstractLog log;
  EXPECT_EQ(captured([&] { log.warning("T", "x"); }), captured([&] { log.error("T", "x"); }));
}

// println goes through the object's own print and newline; info does not.
TEST(AbstractLogTest, PrintlnUsesOverriddenPrintAndNewline) {
  struct Recording : AbstractLog {
    void newline() const override { lines.push_back(current), current.clear(); }
    void print(std::string_view text) const override { current.append(text); }
    mutable std::string current;
    mutable std::vector<std::string> lines;
  };
  const Recording log;
  const std::string out = captured([&] {
    log.println("one");
    log.println("two");
    log.info("direct");
  });
  EXPECT_EQ(log.lines, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(out, "--- direct\n");
}

}  // namespace
}  // namespace nuv::opt
