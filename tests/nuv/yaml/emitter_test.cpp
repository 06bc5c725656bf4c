#include "nuv/yaml/emitter.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "nuv/yaml/parser.hpp"
#include "yaml_platform/text_doc.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace {

using nuv::yaml::EmitterException;
using nuv::yaml::EventType;
using nuv::yaml::ScalarStyle;
using testing::StrEq;
using testing::ThrowsMessage;
using yaml_platform::EmitterHost;
using yaml_platform::ParserHost;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Writes one block sequence in one document and hands back the text.
template <class Write>
std::string writeSequence(Write write) {
  nuv::yaml::Registry registry;
  EmitterHost host(registry, -1);
  host.streamStart();
  host.documentStart();
  host.sequenceStart();
  write(host.emitter());
  host.sequenceEnd();
  host.documentEnd();
  host.streamEnd();
  host.emitter().flush();
  return host.output();
}

TEST(EmitterTest, WritersProduceTheirExactTexts) {
  const std::string text = writeSequence([](nuv::yaml::Emitter& e) {
    e << true << false << std::optional<int>() << std::string() << 0.1 << 1e20 << -0.0 << kInf
      << -kInf << -5 << std::optional<double>(1e-06) << std::optional<std::string>("")
      << std::optional<bool>(true) << std::string("ab\0cd", 5) << std::string("x y")
      << std::string("~") << std::optional<std::string>("NULL") << std::string("nul");
  });
  EXPECT_EQ(text,
            "- 1\n- 0\n- ~\n- ''\n- 0.1\n- 1e+20\n- 0\n- inf\n- -inf\n- -5\n- 1e-06\n- ''\n- "
            "1\n- ab\n- x y\n- '~'\n- 'NULL'\n- nul\n");
}

TEST(EmitterTest, WrittenValuesReadBackAsTheSameValues) {
  const std::string text = writeSequence([](nuv::yaml::Emitter& e) {
    e << true << false << std::optional<int>() << std::string() << 0.1 << 1e20 << -0.0 << kInf
      << -kInf << std::optional<std::string>() << std::optional<std::string>("~")
      << std::string("null") << -2147483647 - 1 << 1e-300;
  });
  nuv::yaml::Registry registry;
  ParserHost host(text, registry);
  nuv::yaml::Parser& p = host.parser();
  (void)p.parse(EventType::StreamStart);
  (void)p.parse(EventType::DocumentStart);
  (void)p.parse(EventType::ListStart);
  bool t = false, f = true;
  std::optional<int> none = 1;
  std::optional<std::string> empty, null, tilde, word;
  double tenth = 0, big = 0, zero = 1, inf = 0, minusInf = 0, tiny = 0;
  int lowest = 0;
  p >> t >> f >> none >> empty >> tenth >> big >> zero >> inf >> minusInf >> null >> tilde >>
      word >> lowest >> tiny;
  EXPECT_TRUE(t);
  EXPECT_FALSE(f);
  EXPECT_EQ(none, std::nullopt);
  EXPECT_EQ(empty, std::string());
  EXPECT_EQ(tenth, 0.1);
  EXPECT_EQ(big, 1e20);
  EXPECT_EQ(zero, 0.0);
  EXPECT_EQ(inf, kInf);
  EXPECT_EQ(minusInf, -kInf);
  EXPECT_EQ(null, std::nullopt);
  // A written "~" or "null" text comes out quoted and so reads back as text.
  EXPECT_EQ(tilde, "~");
  EXPECT_EQ(word, "null");
  EXPECT_EQ(lowest, -2147483647 - 1);
  EXPECT_EQ(tiny, 1e-300);
  (void)p.parse(EventType::ListEnd);
}

// {a: {b: [2], c: 3}, d: 4}, written with the given block depth.
std::string nested(int blockDepth) {
  nuv::yaml::Registry registry;
  EmitterHost host(registry, blockDepth);
  nuv::yaml::Emitter& e = host.emitter();
  host.streamStart();
  host.documentStart();
  host.mappingStart();
  e << std::string("a");
  host.mappingStart();
  e << std::string("b");
  host.sequenceStart();
  e << 2;
  host.sequenceEnd();
  e << std::string("c") << 3;
  host.mappingEnd();
  e << std::string("d") << 4;
  host.mappingEnd();
  host.documentEnd();
  host.streamEnd();
  EXPECT_EQ(e.blockDepth(), blockDepth);
  return host.output();
}

TEST(EmitterTest, BlockDepthTurnsDeeperCollectionsToFlowStyle) {
  EXPECT_EQ(nested(-1), "a:\n  b:\n  - 2\n  c: 3\nd: 4\n");
  EXPECT_EQ(nested(3), "a:\n  b:\n  - 2\n  c: 3\nd: 4\n");
  EXPECT_EQ(nested(2), "a:\n  b: [2]\n  c: 3\nd: 4\n");
  EXPECT_EQ(nested(1), "a: {b: [2], c: 3}\nd: 4\n");
  EXPECT_EQ(nested(0), "{a: {b: [2], c: 3}, d: 4}\n");
}

TEST(EmitterTest, AnEmitterErrorCarriesLibyamlsTextAndReleasesTheEventOnce) {
  nuv::yaml::Registry registry;
  EmitterHost host(registry, -1);
  // No stream start yet: libyaml refuses the scalar and keeps (or frees) the event itself.
  EXPECT_THAT(
      [&] { host.emitter() << 5; },
      ThrowsMessage<EmitterException>(StrEq("YAML Emitter Error (3): expected STREAM-START")));
  nuv::yaml::Event event;
  ASSERT_NE(yaml_stream_start_event_initialize(event.raw(), YAML_UTF8_ENCODING), 0);
  EXPECT_THROW(host.emitter().emit(&event), EmitterException);
  EXPECT_TRUE(event.empty());
  host.emitter().emit(nullptr);
}

TEST(EmitterTest, ScalarRefusesAnEmptyAnchorOrTag) {
  nuv::yaml::Registry registry;
  EmitterHost host(registry, -1);
  host.streamStart();
  host.documentStart();
  EXPECT_THAT([&] { host.emitter().scalar("x", "", nullptr, ScalarStyle::Plain); },
              ThrowsMessage<nuv::CheckException>(
                  StrEq("Check Error (7): 'strlen(anchor)' (which is 0) must be greater than 0.")));
  EXPECT_THAT([&] { host.emitter().scalar("x", nullptr, "", ScalarStyle::Plain); },
              ThrowsMessage<nuv::CheckException>(
                  StrEq("Check Error (7): 'strlen(tag)' (which is 0) must be greater than 0.")));
  host.emitter().scalar(std::string_view("x\0y", 3), "a", nullptr, ScalarStyle::DoubleQuoted);
  host.documentEnd();
  host.streamEnd();
  EXPECT_EQ(host.output(), "&a \"x\\0y\"\n");
}

TEST(EmitterTest, StylesAreMappedOntoLibyamlStyles) {
  const std::string text = writeSequence([](nuv::yaml::Emitter& e) {
    e.scalar("p", nullptr, nullptr, ScalarStyle::Plain);
    e.scalar("s", nullptr, nullptr, ScalarStyle::SingleQuoted);
    e.scalar("d", nullptr, nullptr, ScalarStyle::DoubleQuoted);
    e.scalar("l", nullptr, nullptr, ScalarStyle::Literal);
    e.scalar("f", nullptr, nullptr, ScalarStyle::Folded);
    e.scalar("a", nullptr, nullptr, static_cast<ScalarStyle>(9));
    e.scalar(std::string_view(), nullptr, nullptr, ScalarStyle::DoubleQuoted);
  });
  EXPECT_EQ(text, "- p\n- 's'\n- \"d\"\n- |-\n  l\n- >-\n  f\n- a\n- \"\"\n");
}

// A block sequence whose first items libyaml has already written into its buffer.
void startSequence(EmitterHost& host) {
  host.streamStart();
  host.documentStart();
  host.sequenceStart();
  host.emitter() << std::string("a") << std::string("b") << std::string("c");
}

TEST(EmitterTest, MissingAgentFlushesBeforeRaising) {
  nuv::yaml::Registry registry;
  EmitterHost host(registry, -1);
  startSequence(host);
  EXPECT_EQ(host.output(), "");
  const auto doc = nuv::View<const nuv::attr::AbstractDoc>::owning(
      std::make_unique<const yaml_platform::TextDoc>("about"));
  EXPECT_THAT([&] { host.emitter() << doc; },
              ThrowsMessage<EmitterException>(
                  StrEq("YAML Emitter Error (4): Registry agent required for 'nuv::View<const "
                        "nuv::attr::AbstractDoc>'.")));
  EXPECT_THAT(host.output(), testing::StartsWith("- a\n"));

  registry.add(std::make_shared<yaml_platform::TextDocAgent>());
  host.emitter() << doc;
  host.sequenceEnd();
  host.documentEnd();
  EXPECT_EQ(host.output(), "- a\n- b\n- c\n- about\n");
}

TEST(EmitterTest, FailingOutputRaisesWriterErrors) {
  nuv::yaml::Registry registry;
  {
    EmitterHost host(registry, -1);
    startSequence(host);
    host.failWrites(true);
    EXPECT_THAT([&] { host.emitter().flush(); },
                ThrowsMessage<EmitterException>(StrEq("YAML Emitter Error (2): Cannot flush")));
  }
  {
    EmitterHost host(registry, -1);
    startSequence(host);
    host.failWrites(true);
    const nuv::View<const nuv::attr::AbstractDoc> doc;
    EXPECT_THAT([&] { host.emitter() << doc; },
                ThrowsMessage<EmitterException>(StrEq("YAML Emitter Error (2): Cannot flush")));
  }
  {
    EmitterHost host(registry, -1);
    startSequence(host);
    host.failWrites(true);
    // A text larger than libyaml's buffer makes libyaml write out while emitting.
    const std::string large(40000, 'x');
    EXPECT_THAT(
        [&] {
          for (int i = 0; i < 3; ++i) host.emitter() << large;
        },
        ThrowsMessage<EmitterException>(StrEq("YAML Emitter Error (2): write error")));
  }
}

}  // namespace
