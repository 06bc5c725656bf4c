// The YAML form of option descriptions, through the platform's framing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "nuv/attr/lib/info.hpp"
#include "nuv/attr/lib/range_info.hpp"
#include "yaml_platform/reflect_io.hpp"
#include "yaml_platform/text_doc.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace {

using nuv::attr::AbstractDoc;
using nuv::attr::lib::Info;
using nuv::attr::lib::RangeInfo;
using nuv::yaml::ParserException;
using testing::StrEq;
using testing::ThrowsMessage;

constexpr double kInf = std::numeric_limits<double>::infinity();

nuv::View<const AbstractDoc> textDoc(std::string text) {
  return nuv::View<const AbstractDoc>::owning(
      std::make_unique<const yaml_platform::TextDoc>(std::move(text)));
}

std::string docText(const nuv::attr::AbstractBaseInfo& info) {
  const auto* doc = dynamic_cast<const yaml_platform::TextDoc*>(info.doc().get());
  return doc != nullptr ? doc->text() : "<none>";
}

RangeInfo<int> intRange(std::optional<int> def, std::optional<int> lo, std::optional<int> up) {
  return RangeInfo<int>("x", 1, true, def, lo, up, std::nullopt, {});
}

class InfoYamlTest : public testing::Test {
 protected:
  InfoYamlTest() { withDoc_.add(std::make_shared<yaml_platform::TextDocAgent>()); }

  // The value of one property as written by propTo, inside a one-element sequence.
  std::string propText(const nuv::yaml::AbstractReflect& info, nuv::Tag property) {
    yaml_platform::EmitterHost host(withDoc_, -1);
    host.streamStart();
    host.documentStart();
    host.sequenceStart();
    info.propTo(property, host.emitter());
    host.sequenceEnd();
    host.documentEnd();
    host.streamEnd();
    return host.output();
  }

  // Reads "{key: value}" into the description.
  void read(nuv::yaml::AbstractReflect& info, const std::string& yaml) {
    yaml_platform::fromYaml(yaml, info, withDoc_);
  }

  nuv::yaml::Registry none_;
  nuv::yaml::Registry withDoc_;
};

TEST_F(InfoYamlTest, WritesOnlyPropertiesAwayFromTheirDefaults) {
  const RangeInfo<int> advbasis("advbasis", 1, true, 1, 0, 2, 1010100, {});
  EXPECT_EQ(yaml_platform::toYaml(advbasis, none_),
            "name: advbasis\nref: 1010100\ndef: 1\nlo: 0\nup: 2\n");
  const RangeInfo<int> unbounded("threads", 1, true, -1, std::nullopt, std::nullopt, 8001, {});
  EXPECT_EQ(yaml_platform::toYaml(unbounded, none_), "name: threads\nref: 8001\ndef: -1\n");
  const RangeInfo<double> lowerOnly("t", 1, true, std::nullopt, 0.0, std::nullopt, 2, {});
  EXPECT_EQ(yaml_platform::toYaml(lowerOnly, none_), "name: t\nref: 2\nlo: 0\n");
  const Info<bool> flag("f", std::nullopt, false, true, std::nullopt, {});
  EXPECT_EQ(yaml_platform::toYaml(flag, none_), "name: f\nn_max: 2147483647\ns_set: 0\ndef: 1\n");
  const Info<std::string> text("", 1, true, std::string(), std::nullopt, textDoc("about"));
  EXPECT_EQ(yaml_platform::toYaml(text, withDoc_), "def: ''\ndoc: about\n");
  const RangeInfo<double> all("", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                              {});
  EXPECT_EQ(yaml_platform::toYaml(all, none_), "{}\n");
  EXPECT_EQ(yaml_platform::toYaml(all, none_, 0), "{}\n");
  EXPECT_EQ(yaml_platform::toYaml(advbasis, none_, 0),
            "{name: advbasis, ref: 1010100, def: 1, lo: 0, up: 2}\n");
}

TEST_F(InfoYamlTest, PropToWritesTheValueEvenAtItsDefault) {
  const Info<int> plain("", 1, true, std::nullopt, std::nullopt, {});
  EXPECT_EQ(propText(plain, "name"), "- ''\n");
  EXPECT_EQ(propText(plain, "ref"), "- ~\n");
  EXPECT_EQ(propText(plain, "n_max"), "- 1\n");
  EXPECT_EQ(propText(plain, "s_set"), "- 1\n");
  EXPECT_EQ(propText(plain, "def"), "- ~\n");
  EXPECT_EQ(propText(plain, "doc"), "[]\n");
  EXPECT_EQ(propText(plain, "lo"), "[]\n");
  EXPECT_EQ(propText(plain, "Name"), "[]\n");
  const RangeInfo<double> open("", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                               {});
  EXPECT_EQ(propText(open, "lo"), "- -inf\n");
  EXPECT_EQ(propText(open, "up"), "- inf\n");
  const RangeInfo<double> tiny("", 1, true, 1e-06, 1e-06, 1e20, std::nullopt, {});
  EXPECT_EQ(propText(tiny, "def"), "- 1e-06\n");
  EXPECT_EQ(propText(tiny, "up"), "- 1e+20\n");
}

TEST_F(InfoYamlTest, WritingADocumentationObjectWithoutAgentFlushesAndRaises) {
  const Info<int> info("x", 1, true, std::nullopt, 4, textDoc("about"));
  yaml_platform::EmitterHost host(none_, -1);
  host.streamStart();
  host.documentStart();
  host.mappingStart();
  EXPECT_THAT([&] { info.propsTo(host.emitter()); },
              ThrowsMessage<nuv::yaml::EmitterException>(
                  StrEq("YAML Emitter Error (4): Registry agent required for 'nuv::View<const "
                        "nuv::attr::AbstractDoc>'.")));
  // The pairs before "doc", and its key, have been written out.
  EXPECT_EQ(host.output(), "name: x\nref: 4\ndoc");
}

template <class T>
void expectSameDescription(const Info<T>& a, const Info<T>& b) {
  EXPECT_EQ(a.name() ? *a.name() : "", b.name() ? *b.name() : "");
  EXPECT_EQ(a.ref(), b.ref());
  EXPECT_EQ(a.maxElemCount(), b.maxElemCount());
  EXPECT_EQ(a.supportsSet(), b.supportsSet());
  EXPECT_EQ(a.supportsDefault(), b.supportsDefault());
  if (a.supportsDefault() && b.supportsDefault()) {
    EXPECT_EQ(a.getDefault(), b.getDefault());
  }
  EXPECT_EQ(docText(a), docText(b));
}

TEST_F(InfoYamlTest, EveryKindRoundTripsThroughTheFraming) {
  {
    const Info<int> written("i", 3, false, -7, 1, textDoc("int doc"));
    Info<int> read("", 1, true, std::nullopt, std::nullopt, {});
    yaml_platform::fromYaml(yaml_platform::toYaml(written, withDoc_), read, withDoc_);
    expectSameDescription(written, read);
  }
  {
    const Info<double> written("d", std::nullopt, true, -0.1, 2, {});
    Info<double> read("", 1, true, std::nullopt, std::nullopt, {});
    yaml_platform::fromYaml(yaml_platform::toYaml(written, withDoc_), read, withDoc_);
    expectSameDescription(written, read);
  }
  {
    const Info<bool> written("b", 2, false, false, 3, textDoc("bit"));
    Info<bool> read("", 1, true, std::nullopt, std::nullopt, {});
    yaml_platform::fromYaml(yaml_platform::toYaml(written, withDoc_), read, withDoc_);
    expectSameDescription(written, read);
  }
  for (const char* text : {"", "~", "null", "tuneroutput", "with: colon", "#hash", "  pad  "}) {
    SCOPED_TRACE(text);
    const Info<std::string> written("s", 1, true, std::string(text), 4, {});
    Info<std::string> read("", 1, true, std::nullopt, std::nullopt, {});
    yaml_platform::fromYaml(yaml_platform::toYaml(written, withDoc_), read, withDoc_);
    expectSameDescription(written, read);
  }
  {
    const RangeInfo<int> written("r", 1, true, 5, INT_MIN + 1, INT_MAX - 1, 5, {});
    RangeInfo<int> read("", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {});
    yaml_platform::fromYaml(yaml_platform::toYaml(written, withDoc_), read, withDoc_);
    expectSameDescription<int>(written, read);
    EXPECT_EQ(read.supportsValue(INT_MIN), INT_MIN + 1);
    EXPECT_EQ(read.supportsValue(INT_MAX), INT_MAX - 1);
  }
  {
    const RangeInfo<double> written("t", 1, true, 1e20, 1e-06, 1e20, 6, textDoc("limit"));
    RangeInfo<double> read("", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {});
    yaml_platform::fromYaml(yaml_platform::toYaml(written, withDoc_), read, withDoc_);
    expectSameDescription<double>(written, read);
    EXPECT_EQ(read.supportsValue(-kInf), 1e-06);
    EXPECT_EQ(read.supportsValue(kInf), 1e20);
    EXPECT_EQ(yaml_platform::toYaml(read, withDoc_), yaml_platform::toYaml(written, withDoc_));
  }
}

TEST_F(InfoYamlTest, ReadsSinglePropertiesAsDocumented) {
  Info<int> info("x", 1, true, 5, 7, {});
  read(info, "{n_max: -3}");
  EXPECT_EQ(info.maxElemCount(), 0);
  read(info, "{def: ~}");
  EXPECT_EQ(info.getDefault(), 5);
  read(info, "{def: }");
  EXPECT_EQ(info.getDefault(), 5);
  read(info, "{def: '12'}");
  EXPECT_EQ(info.getDefault(), 12);
  read(info, "{ref: ~}");
  EXPECT_EQ(info.ref(), std::nullopt);
  read(info, "{ref: 9, s_set: off, name: ~}");
  EXPECT_EQ(info.ref(), 9);
  EXPECT_FALSE(info.supportsSet());
  EXPECT_EQ(*info.name(), "~");
  read(info, "{doc: notes}");
  EXPECT_EQ(docText(info), "notes");
  EXPECT_TRUE(info.propExists("doc"));
}

TEST_F(InfoYamlTest, ABoundReadMovesTheOtherBoundAndTheDefault) {
  struct Case {
    const char* yaml;
    int lo, up, def;
  };
  const Case cases[] = {
      {"{lo: 10}", 10, 10, 10}, {"{up: -1}", -1, -1, -1}, {"{def: 7}", 0, 5, 5},
      {"{def: -7}", 0, 5, 0},   {"{lo: 4}", 4, 5, 4},     {"{up: 2, lo: 1}", 1, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yaml);
    RangeInfo<int> info = intRange(3, 0, 5);
    read(info, c.yaml);
    EXPECT_EQ(info.supportsValue(INT_MIN), c.lo);
    EXPECT_EQ(info.supportsValue(INT_MAX), c.up);
    EXPECT_EQ(info.getDefault(), c.def);
  }
  RangeInfo<int> noDefault = intRange(std::nullopt, 0, 5);
  read(noDefault, "{lo: 8}");
  EXPECT_FALSE(noDefault.supportsDefault());
  EXPECT_EQ(noDefault.supportsValue(0), 8);
}

TEST_F(InfoYamlTest, RefusesValuesThatCannotBeRead) {
  struct Case {
    const char* yaml;
    const char* text;
  };
  const Case cases[] = {
      {"{lo: ~}",
       "YAML Parser Error (5): Cannot convert '~' to 'int' (at: line 1, col 7; start at: line 1, "
       "col 6)."},
      {"{n_max: }", "YAML Parser Error (5): Cannot convert '' to 'int' (at: line 1, col 9)."},
      {"{s_set: null}",
       "YAML Parser Error (5): Cannot convert 'null' to 'bool' (at: line 1, col 13; start at: "
       "line 1, col 9)."},
      {"{def: [1]}",
       "YAML Parser Error (4): Expected event 'Scalar', but is 'ListStart' (at: line 1, col 8; "
       "start at: line 1, col 7)."},
      {"{up: 3x}",
       "YAML Parser Error (5): Cannot convert '3x' to 'int' (at: line 1, col 8; start at: line "
       "1, col 6)."},
      {"{bounds: 1}",
       "YAML Parser Error (0): Unknown property 'bounds' of nuv::attr::lib::RangeInfo<Int32> (at: "
       "line 1, col 8; start at: line 1, col 2)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yaml);
    RangeInfo<int> info = intRange(3, 0, 5);
    EXPECT_THAT([&] { read(info, c.yaml); }, ThrowsMessage<ParserException>(StrEq(c.text)));
    // A failed read leaves the range and the count as they were.
    EXPECT_EQ(info.supportsValue(INT_MIN), 0);
    EXPECT_EQ(info.supportsValue(INT_MAX), 5);
    EXPECT_EQ(info.maxElemCount(), 1);
  }
}

TEST_F(InfoYamlTest, RefusesANaNBound) {
  RangeInfo<double> info("x", 1, true, 0.5, 0.0, 1.0, std::nullopt, {});
  EXPECT_THAT([&] { read(info, "{up: nan}"); },
              ThrowsMessage<ParserException>(StrEq(
                  "YAML Parser Error (0): Value of property 'up' (which is nan) is not supported "
                  "(at: line 1, col 9).")));
  EXPECT_EQ(info.supportsValue(kInf), 1.0);
  read(info, "{def: nan}");
  EXPECT_EQ(info.getDefault(), 0.0);
}

// A description that refuses negative values, to reach the paths where `supportsValue` answers
// nothing.
class NonNegativeInfo final : public Info<int> {
 public:
  NonNegativeInfo() : Info<int>("n", 1, true, 2, std::nullopt, {}) {}
  [[nodiscard]] std::optional<int> supportsValue(const int& value) const override {
    if (value < 0) return std::nullopt;
    return value;
  }
};

TEST_F(InfoYamlTest, RefusedDefaultKeepsThePreviousOne) {
  NonNegativeInfo info;
  EXPECT_THAT([&] { read(info, "{def: -4}"); },
              ThrowsMessage<ParserException>(StrEq(
                  "YAML Parser Error (0): Value of property 'def' (which is -4) is not supported "
                  "(at: line 1, col 9).")));
  EXPECT_EQ(info.getDefault(), 2);
  EXPECT_THAT([&] { info.setDefault(-1); },
              ThrowsMessage<nuv::CheckException>(
                  StrEq("Check Error (1): 'supportsValue(value)' must be true.")));
  EXPECT_EQ(info.getDefault(), 2);
  read(info, "{def: 3}");
  EXPECT_EQ(info.getDefault(), 3);
}

TEST_F(InfoYamlTest, DocumentationNeedsAnAgentToBeRead) {
  Info<int> info("x", 1, true, std::nullopt, std::nullopt, {});
  EXPECT_THAT([&] { yaml_platform::fromYaml("{doc: x}", info, none_); },
              ThrowsMessage<ParserException>(
                  StrEq("YAML Parser Error (5): Registry agent required for 'nuv::View<const "
                        "nuv::attr::AbstractDoc>' (at: line 1, col 5).")));
}

TEST_F(InfoYamlTest, UnknownPropertyLeavesItsValueQueued) {
  Info<int> info("x", 1, true, std::nullopt, std::nullopt, {});
  yaml_platform::ParserHost host("[7]", none_);
  nuv::yaml::Parser& p = host.parser();
  (void)p.parse(nuv::yaml::EventType::StreamStart);
  (void)p.parse(nuv::yaml::EventType::DocumentStart);
  (void)p.parse(nuv::yaml::EventType::ListStart);
  info.propFrom("lo", p);
  int value = 0;
  p >> value;
  EXPECT_EQ(value, 7);
}

}  // namespace
