#include "nuv/attr/lib/info.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <optional>
#include <string>

#include "nuv/attr/lib/range_info.hpp"
#include "nuv/yaml/abstract_reflect.hpp"

namespace {

using nuv::attr::AbstractDoc;
using nuv::attr::lib::Info;
using nuv::attr::lib::RangeInfo;
using testing::StrEq;
using testing::ThrowsMessage;

// Counts its own destructions, to see who deletes a documentation object.
class CountingDoc final : public AbstractDoc {
 public:
  explicit CountingDoc(int& deleted) : deleted_(deleted) {}
  ~CountingDoc() override { ++deleted_; }

 private:
  int& deleted_;
};

nuv::View<const AbstractDoc> owningDoc(int& deleted) {
  return nuv::View<const AbstractDoc>::owning(std::make_unique<const CountingDoc>(deleted));
}

TEST(InfoTest, StoresElementCountWithNoLimitForAbsentAndOneAtLeast) {
  struct Case {
    std::optional<int> given;
    int stored;
    bool nMaxIsDefault;
  };
  const Case cases[] = {
      {std::nullopt, INT_MAX, false}, {0, 1, true}, {-3, 1, true}, {1, 1, true}, {5, 5, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given ? std::to_string(*c.given) : "absent");
    const Info<bool> info("x", c.given, true, std::nullopt, std::nullopt, {});
    EXPECT_EQ(info.maxElemCount(), c.stored);
    EXPECT_EQ(info.propIsDefault("n_max"), c.nMaxIsDefault);
  }
}

TEST(InfoTest, AnswersAccessorsFromTheStoredFields) {
  int deleted = 0;
  nuv::View<const AbstractDoc> doc = owningDoc(deleted);
  const AbstractDoc* object = doc.get();
  const Info<std::string> info("basisout", 1, false, std::string("b.bss"), 1020300, std::move(doc));
  EXPECT_EQ(doc.get(), nullptr);
  EXPECT_FALSE(doc.owns());

  ASSERT_TRUE(info.name());
  EXPECT_FALSE(info.name().owns());
  EXPECT_EQ(*info.name(), "basisout");
  EXPECT_EQ(info.ref(), 1020300);
  EXPECT_FALSE(info.supportsSet());
  EXPECT_TRUE(info.supportsDefault());
  EXPECT_EQ(info.getDefault(), "b.bss");
  EXPECT_EQ(info.supportsValue("any"), std::optional<std::string>("any"));
  EXPECT_EQ(info.doc().get(), object);
  EXPECT_FALSE(info.doc().owns());
  EXPECT_EQ(deleted, 0);
}

TEST(InfoTest, EmptyNameIsANullView) {
  const Info<int> info("", 1, true, 3, std::nullopt, {});
  EXPECT_FALSE(info.name());
  EXPECT_TRUE(info.propIsDefault("name"));
}

TEST(InfoTest, GetDefaultWithoutDefaultRaisesTheAttributeError) {
  const Info<std::string> info("x", 1, true, std::nullopt, std::nullopt, {});
  EXPECT_FALSE(info.supportsDefault());
  EXPECT_THAT([&] { (void)info.getDefault(); },
              ThrowsMessage<nuv::attr::Exception>(
                  StrEq("Attribute Error (0): Attribute default not supported")));
}

TEST(InfoTest, DeletesAnOwnedDocumentationObjectOnlyOnce) {
  int deleted = 0;
  { const Info<int> info("x", 1, true, std::nullopt, std::nullopt, owningDoc(deleted)); }
  EXPECT_EQ(deleted, 1);

  CountingDoc kept(deleted);
  {
    const Info<int> info("x", 1, true, std::nullopt, std::nullopt,
                         nuv::View<const AbstractDoc>::borrowed(&kept));
    EXPECT_EQ(info.doc().get(), &kept);
  }
  EXPECT_EQ(deleted, 1);
}

TEST(InfoTest, ReportsTypeCodeAndClassNameOfEachKind) {
  struct Case {
    std::unique_ptr<nuv::attr::AbstractBaseInfo> info;
    int type;
    const char* className;
  };
  Case cases[] = {
      {std::make_unique<Info<int>>("", 1, true, std::nullopt, std::nullopt,
                                   nuv::View<const AbstractDoc>()),
       2, "nuv::attr::lib::Info<Int32>"},
      {std::make_unique<Info<double>>("", 1, true, std::nullopt, std::nullopt,
                                      nuv::View<const AbstractDoc>()),
       1, "nuv::attr::lib::Info<Float64>"},
      {std::make_unique<Info<bool>>("", 1, true, std::nullopt, std::nullopt,
                                    nuv::View<const AbstractDoc>()),
       4, "nuv::attr::lib::Info<Bool>"},
      {std::make_unique<Info<std::string>>("", 1, true, std::nullopt, std::nullopt,
                                           nuv::View<const AbstractDoc>()),
       5, "nuv::attr::lib::Info<String>"},
      {std::make_unique<RangeInfo<int>>("", 1, true, std::nullopt, std::nullopt, std::nullopt,
                                        std::nullopt, nuv::View<const AbstractDoc>()),
       2, "nuv::attr::lib::RangeInfo<Int32>"},
      {std::make_unique<RangeInfo<double>>("", 1, true, std::nullopt, std::nullopt, std::nullopt,
                                           std::nullopt, nuv::View<const AbstractDoc>()),
       1, "nuv::attr::lib::RangeInfo<Float64>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    EXPECT_EQ(c.info->type(), c.type);
    // The reflection side is the second base; it must reach the same object.
    const auto* reflect = dynamic_cast<const nuv::yaml::AbstractReflect*>(c.info.get());
    ASSERT_NE(reflect, nullptr);
    EXPECT_EQ(reflect->className(), c.className);
  }
}

TEST(InfoTest, PropertyQueriesMatchNamesExactly) {
  const Info<int> plain("x", 1, true, std::nullopt, std::nullopt, {});
  const RangeInfo<int> ranged("x", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                              {});
  for (const char* name : {"name", "ref", "n_max", "s_set", "def", "doc"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(plain.propExists(name));
    EXPECT_TRUE(ranged.propExists(name));
  }
  EXPECT_FALSE(plain.propExists("lo"));
  EXPECT_FALSE(plain.propExists("up"));
  EXPECT_TRUE(ranged.propExists("lo"));
  EXPECT_TRUE(ranged.propExists("up"));
  for (const char* name : {"Name", "nam", "names", "", "LO"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(ranged.propExists(name));
    EXPECT_FALSE(ranged.propIsDefault(name));
  }
}

TEST(InfoTest, PropsIsDefaultOnlyWhenEveryPropertyIsAtItsDefault) {
  int deleted = 0;
  EXPECT_TRUE(Info<int>("", 1, true, std::nullopt, std::nullopt, {}).propsIsDefault());
  EXPECT_TRUE(
      RangeInfo<double>("", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {})
          .propsIsDefault());
  struct Case {
    const char* what;
    std::unique_ptr<nuv::yaml::AbstractReflect> info;
    const char* property;
  };
  Case cases[] = {
      {"name",
       std::make_unique<Info<int>>("a", 1, true, std::nullopt, std::nullopt,
                                   nuv::View<const AbstractDoc>()),
       "name"},
      {"key",
       std::make_unique<Info<int>>("", 1, true, std::nullopt, 7, nuv::View<const AbstractDoc>()),
       "ref"},
      {"no count",
       std::make_unique<Info<int>>("", std::nullopt, true, std::nullopt, std::nullopt,
                                   nuv::View<const AbstractDoc>()),
       "n_max"},
      {"not settable",
       std::make_unique<Info<int>>("", 1, false, std::nullopt, std::nullopt,
                                   nuv::View<const AbstractDoc>()),
       "s_set"},
      {"default",
       std::make_unique<Info<int>>("", 1, true, 0, std::nullopt, nuv::View<const AbstractDoc>()),
       "def"},
      {"doc",
       std::make_unique<Info<int>>("", 1, true, std::nullopt, std::nullopt, owningDoc(deleted)),
       "doc"},
      {"lower",
       std::make_unique<RangeInfo<int>>("", 1, true, std::nullopt, INT_MIN + 1, std::nullopt,
                                        std::nullopt, nuv::View<const AbstractDoc>()),
       "lo"},
      {"upper",
       std::make_unique<RangeInfo<double>>("", 1, true, std::nullopt, std::nullopt, 1e300,
                                           std::nullopt, nuv::View<const AbstractDoc>()),
       "up"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(c.info->propIsDefault(c.property));
    EXPECT_FALSE(c.info->propsIsDefault());
  }
}

TEST(InfoTest, SetDefaultStoresWhatSupportsValueAnswers) {
  Info<std::string> plain("x", 1, true, std::nullopt, std::nullopt, {});
  plain.setDefault("v");
  EXPECT_EQ(plain.getDefault(), "v");

  RangeInfo<int> ranged("x", 1, true, 1, 0, 2, std::nullopt, {});
  ranged.setDefault(9);
  EXPECT_EQ(ranged.getDefault(), 2);
}

}  // namespace
