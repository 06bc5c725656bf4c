#include "nuv/yaml/parser.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "yaml_platform/text_doc.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace {

using nuv::yaml::EventType;
using nuv::yaml::Parser;
using nuv::yaml::ParserException;
using nuv::yaml::Position;
using testing::StrEq;
using testing::ThrowsMessage;
using yaml_platform::ParserHost;

// A parser over one document whose stream and document starts have been read.
class ParserTest : public testing::Test {
 protected:
  Parser& open(std::string text) {
    host_ = std::make_unique<ParserHost>(std::move(text), registry_);
    (void)parser().parse(EventType::StreamStart);
    (void)parser().parse(EventType::DocumentStart);
    return parser();
  }
  Parser& parser() { return host_->parser(); }

  nuv::yaml::Registry registry_;
  std::unique_ptr<ParserHost> host_;
};

TEST(EventTypeTest, NamesEveryTypeAndUnknownOutsideTheRange) {
  const char* names[] = {"Unknown", "StreamStart", "StreamEnd", "DocumentStart", "DocumentEnd",
                         "Scalar",  "ListStart",   "ListEnd",   "MapStart",      "MapEnd"};
  for (int t = 0; t <= 9; ++t) {
    EXPECT_EQ(nuv::toString(static_cast<EventType>(t)), names[t]);
  }
  EXPECT_EQ(nuv::toString(static_cast<EventType>(10)), "Unknown");
  EXPECT_EQ(nuv::toString(static_cast<EventType>(255)), "Unknown");
}

TEST_F(ParserTest, ReadsAheadUpToTheDocumentEndThenTheStreamEnd) {
  nuv::yaml::Registry registry;
  ParserHost host("a: 1", registry);
  Parser& p = host.parser();
  p.rawParse();
  ASSERT_EQ(p.queuedCount(), 7u);
  for (EventType type :
       {EventType::StreamStart, EventType::DocumentStart, EventType::MapStart, EventType::Scalar,
        EventType::Scalar, EventType::MapEnd, EventType::DocumentEnd}) {
    SCOPED_TRACE(nuv::toString(type));
    (void)p.parse(type);
  }
  EXPECT_EQ(p.queuedCount(), 0u);
  p.rawParse();
  ASSERT_EQ(p.queuedCount(), 1u);
  (void)p.parse(EventType::StreamEnd);
  // libyaml answers "no event" after the stream end; the layer names it Unknown.
  EXPECT_THAT([&] { (void)p.parse(EventType::Scalar); },
              ThrowsMessage<ParserException>(StrEq(
                  "YAML Parser Error (4): Expected event 'Scalar', but is 'Unknown' (at: line 1, "
                  "col 1).")));
}

TEST_F(ParserTest, RefillsTenEventsAtATimeKeepingTheOrder) {
  // Seventeen events: stream, document and list starts, twelve scalars, list and document ends.
  Parser& p = open("[1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]");
  EXPECT_EQ(p.queuedCount(), 8u);  // the first ten, less the two starts already taken
  (void)p.parse(EventType::ListStart);
  int value = 0;
  for (int expected = 1; expected <= 7; ++expected) {
    p >> value;
    EXPECT_EQ(value, expected);
  }
  EXPECT_EQ(p.queuedCount(), 0u);
  p >> value;
  EXPECT_EQ(value, 8);
  EXPECT_EQ(p.queuedCount(), 6u);  // the remaining seven, reading stopped at the document end
  for (int expected = 9; expected <= 12; ++expected) {
    p >> value;
    EXPECT_EQ(value, expected);
  }
  (void)p.parse(EventType::ListEnd);
  (void)p.parse(EventType::DocumentEnd);
  EXPECT_EQ(p.queuedCount(), 0u);
}

TEST_F(ParserTest, AliasIsUnknownAndMismatchNamesBothTypesWithPositions) {
  Parser& p = open("a: &x 1\nb: *x\n");
  (void)p.parse(EventType::MapStart);
  int value = 0;
  std::string key;
  p >> key >> value >> key;
  EXPECT_EQ(value, 1);
  EXPECT_THAT([&] { (void)p.parse(EventType::Scalar); },
              ThrowsMessage<ParserException>(
                  StrEq("YAML Parser Error (4): Expected event 'Scalar', but is 'Unknown' (at: "
                        "line 2, col 6; start at: line 2, col 4).")));
  // The refused event has been taken; the next one is still there.
  (void)p.parse(EventType::MapEnd);
}

TEST_F(ParserTest, TypeMismatchKeepsStartAndAtPositions) {
  Parser& p = open("k: {b: 1}");
  (void)p.parse(EventType::MapStart);
  std::string key;
  p >> key;
  try {
    int value = 0;
    p >> value;
    FAIL() << "no exception";
  } catch (const ParserException& e) {
    EXPECT_STREQ(e.what(),
                 "YAML Parser Error (4): Expected event 'Scalar', but is 'MapStart' (at: line 1, "
                 "col 5; start at: line 1, col 4).");
    EXPECT_EQ(e.code(), 4);
    EXPECT_EQ(e.start(), (Position{1, 4, 3}));
    EXPECT_EQ(e.at(), (Position{1, 5, 4}));
    EXPECT_EQ(p.lastPosition(), e.at());
  }
}

TEST_F(ParserTest, TryScalarLeavesOtherEventsQueued) {
  Parser& p = open("[x]");
  EXPECT_FALSE(p.tryScalar().has_value());
  (void)p.parse(EventType::ListStart);
  std::optional<nuv::yaml::Scalar> scalar = p.tryScalar();
  ASSERT_TRUE(scalar.has_value());
  EXPECT_EQ(scalar->text(), "x");
  EXPECT_EQ(p.lastPosition(), (Position{1, 3, 2}));
}

struct IntCase {
  const char* yaml;
  int before;
  int after;
  const char* error;  // null when accepted
};

TEST_F(ParserTest, IntegerReaderAcceptsAndRejectsExactly) {
  const IntCase cases[] = {
      {"+5", 0, 5, nullptr},
      {"-5", 0, -5, nullptr},
      {"'2147483647'", 0, 2147483647, nullptr},
      {"-2147483648", 0, -2147483648, nullptr},
      {"' 5'", 9, 9, "Cannot convert ' 5' to 'int'"},
      {"'5x'", 9, 5, "Cannot convert '5x' to 'int'"},
      {"'5 '", 9, 5, "Cannot convert '5 ' to 'int'"},
      {"1.5", 9, 1, "Cannot convert '1.5' to 'int'"},
      {"''", 9, 9, "Cannot convert '' to 'int'"},
      {"2147483648", 9, 9, "Cannot convert '2147483648' to 'int'"},
      {"abc", 9, 9, "Cannot convert 'abc' to 'int'"},
      {"~", 9, 9, "Cannot convert '~' to 'int'"},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.yaml);
    Parser& p = open(c.yaml);
    int value = c.before;
    if (c.error == nullptr) {
      p >> value;
    } else {
      try {
        p >> value;
        ADD_FAILURE() << "no exception";
      } catch (const ParserException& e) {
        EXPECT_EQ(e.code(), 5);
        EXPECT_THAT(e.message(), testing::StartsWith(std::string(c.error) + " (at: line 1"));
      }
    }
    EXPECT_EQ(value, c.after);
  }
}

TEST_F(ParserTest, ConversionErrorShowsStartAndEnd) {
  Parser& p = open("\n\n     abc");
  int value = 0;
  EXPECT_THAT([&] { p >> value; },
              ThrowsMessage<ParserException>(
                  StrEq("YAML Parser Error (5): Cannot convert 'abc' to 'int' (at: line 3, col 9; "
                        "start at: line 3, col 6).")));
}

TEST_F(ParserTest, DoubleReaderAcceptsAndRejectsExactly) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* yaml;
    double after;
    bool accepted;
  };
  const Case cases[] = {
      {"1e-06", 1e-06, true},     {"inf", kInf, true},    {"-inf", -kInf, true},
      {"-Infinity", -kInf, true}, {"0x1p3", 8.0, true},   {"+2.5E2", 250.0, true},
      {"1e999", 7.0, false},      {"'0.5.'", 0.5, false}, {"' 1'", 7.0, false},
      {"''", 7.0, false},         {"x1", 7.0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yaml);
    Parser& p = open(c.yaml);
    double value = 7.0;
    if (c.accepted) {
      p >> value;
    } else {
      EXPECT_THROW(p >> value, ParserException);
    }
    EXPECT_EQ(value, c.after);
  }
  double value = 0;
  open("NaN") >> value;
  EXPECT_TRUE(std::isnan(value));
  EXPECT_THAT([&] { open("'0.5.'") >> value; },
              ThrowsMessage<ParserException>(StrEq(
                  "YAML Parser Error (5): Cannot convert '0.5.' to 'double' (at: line 1, col 7; "
                  "start at: line 1, col 1).")));
}

TEST_F(ParserTest, BoolReaderUsesTheWordList) {
  struct Case {
    const char* yaml;
    bool before, after, accepted;
  };
  const Case cases[] = {
      {"YES", false, true, true},  {"Off", true, false, true}, {"1", false, true, true},
      {"'no'", true, false, true}, {"2", true, true, false},   {"''", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yaml);
    bool value = c.before;
    if (c.accepted) {
      open(c.yaml) >> value;
    } else {
      EXPECT_THROW(open(c.yaml) >> value, ParserException);
    }
    EXPECT_EQ(value, c.after);
  }
  bool value = false;
  EXPECT_THAT([&] { open("2") >> value; },
              ThrowsMessage<ParserException>(StrEq(
                  "YAML Parser Error (5): Cannot convert '2' to 'bool' (at: line 1, col 2; start "
                  "at: line 1, col 1).")));
}

TEST_F(ParserTest, OptionalReadersTellPlainNullsFromQuotedValues) {
  struct Case {
    const char* yaml;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"v: ~", std::nullopt},    {"v: null", std::nullopt}, {"v: NULL", std::nullopt},
      {"v: Null", std::nullopt}, {"v:", std::nullopt},      {"v: ''", std::string()},
      {"v: '~'", "~"},           {"v: \"null\"", "null"},   {"v: nulls", "nulls"},
      {"v: |\n  ~\n", "~\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yaml);
    Parser& p = open(c.yaml);
    (void)p.parse(EventType::MapStart);
    std::string key;
    std::optional<std::string> value = "before";
    p >> key >> value;
    EXPECT_EQ(value, c.expected);
    (void)p.parse(EventType::MapEnd);
  }
}

TEST_F(ParserTest, OptionalNumberReadersConvertQuotedTexts) {
  std::optional<int> number = 3;
  std::optional<double> real = 1.0;
  std::optional<bool> flag = true;
  Parser& p = open("[~, '5', '2.5', Null, off]");
  (void)p.parse(EventType::ListStart);
  p >> number;
  EXPECT_EQ(number, std::nullopt);
  p >> number >> real >> real >> flag;
  EXPECT_EQ(number, 5);
  EXPECT_EQ(real, std::nullopt);
  EXPECT_EQ(flag, false);

  std::optional<int> quoted;
  EXPECT_THAT([&] { open("'null'") >> quoted; },
              ThrowsMessage<ParserException>(
                  StrEq("YAML Parser Error (5): Cannot convert 'null' to 'int' (at: line 1, col "
                        "7; start at: line 1, col 1).")));
  EXPECT_EQ(quoted, 0);
}

TEST_F(ParserTest, OptionalReaderAtACollectionRaisesTheTypeError) {
  std::optional<int> value;
  EXPECT_THAT([&] { open("{a: 1}") >> value; },
              ThrowsMessage<ParserException>(StrEq(
                  "YAML Parser Error (4): Expected event 'Scalar', but is 'MapStart' (at: line 1, "
                  "col 2; start at: line 1, col 1).")));
  // The target was made a present zero before the plain reader refused the event.
  EXPECT_EQ(value, 0);
}

TEST_F(ParserTest, MapsLibyamlErrorKindsToCodes) {
  struct Case {
    const char* what;
    std::string yaml;
    int code;
    const char* text;
  };
  const Case cases[] = {
      {"scanner error", "a: 'abc", 0,
       "YAML Parser Error (0): found unexpected end of stream (at: line 1, col 8; start at: "
       "line 1, col 4)."},
      {"parser error", "a: [1", 3,
       "YAML Parser Error (3): did not find expected ',' or ']' (at: line 2, col 1; start at: "
       "line 1, col 4)."},
      {"reader error", "a: \xff", 2,
       "YAML Parser Error (2): invalid leading UTF-8 octet (at: line 1, col 1)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    nuv::yaml::Registry registry;
    ParserHost host(c.yaml, registry);
    try {
      for (int i = 0; i < 5; ++i) host.parser().rawParse();
      ADD_FAILURE() << "no exception";
    } catch (const ParserException& e) {
      EXPECT_EQ(e.code(), c.code);
      EXPECT_STREQ(e.what(), c.text);
    }
  }
}

TEST_F(ParserTest, DocumentationViewsNeedARegistryAgent) {
  Parser& p = open("a: text");
  (void)p.parse(EventType::MapStart);
  std::string key;
  p >> key;
  nuv::View<const nuv::attr::AbstractDoc> doc;
  EXPECT_THAT([&] { p >> doc; },
              ThrowsMessage<ParserException>(
                  StrEq("YAML Parser Error (5): Registry agent required for 'nuv::View<const "
                        "nuv::attr::AbstractDoc>' (at: line 1, col 2).")));

  registry_.add(std::make_shared<yaml_platform::TextDocAgent>());
  Parser& q = open("a: text");
  (void)q.parse(EventType::MapStart);
  q >> key >> doc;
  ASSERT_TRUE(doc);
  EXPECT_TRUE(doc.owns());
  EXPECT_EQ(dynamic_cast<const yaml_platform::TextDoc&>(*doc).text(), "text");
}

TEST(ParserExceptionTest, BuildsTheMessageWithPositions) {
  const Position a{3, 9, 20};
  const Position b{3, 6, 17};
  struct Case {
    std::string message;
    Position start, at;
    const char* expected;
  };
  const Case cases[] = {
      {"Bad thing.", b, a, "Bad thing (at: line 3, col 9; start at: line 3, col 6)."},
      {"  Bad thing  \n", a, a, "Bad thing (at: line 3, col 9)."},
      {"Two..", a, a, "Two. (at: line 3, col 9)."},
      {"", a, a, " (at: line 3, col 9)."},
      {"Only index differs", Position{3, 9, 21}, a,
       "Only index differs (at: line 3, col 9; start at: line 3, col 9)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(ParserException::buildMessage(c.message, c.start, c.at), c.expected);
  }
}

}  // namespace
