#include "qel/solver/solver_attribs_dict.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <latch>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/exception.hpp"
#include "nuv/opt/context.hpp"
#include "qel/option_key.hpp"
#include "qel/solver/control.hpp"
#include "qel/solver_attribs.hpp"
#include "tests/qel/started_data_fixture.hpp"
#include "xprs_testing.hpp"

namespace qel_test {
namespace {

using nuv::attr::Item;
using nuv::attr::TypeCode;
using Prob = qel::XpressProbInterface;

std::string spelt(std::string name, int (*convert)(int)) {
  for (char& c : name) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
  return name;
}

template <class I>
std::string as(const nuv::attr::AbstractBaseItem* item, const char* what) {
  const auto* c = dynamic_cast<const I*>(item);
  return c != nullptr ? what + std::to_string(c->control()) : "";
}

// The handle's type code, the item's class and control, and its bit for a bit item.
std::string describe(const nuv::attr::BaseItem& handle) {
  const nuv::attr::AbstractBaseItem* item = handle.shared().get();
  const std::string code = std::to_string(static_cast<int>(handle.typeCode())) + " ";
  if (item == nullptr) return code + "none";
  if (const auto* b = dynamic_cast<const qel::BitControl*>(item)) {
    return code + "bit " + std::to_string(b->control()) + "." + std::to_string(b->bit());
  }
  return code + as<qel::Control<Prob, int>>(item, "int ") +
         as<qel::Control<Prob, double>>(item, "double ") +
         as<qel::Control<Prob, std::string>>(item, "string ") +
         as<qel::Control<qel::XpressSolPool, int>>(item, "pool int ") +
         as<qel::Control<qel::XpressSolPool, double>>(item, "pool double ") +
         as<qel::Control<qel::XpressSolEnum, int>>(item, "enum int ") +
         as<qel::Control<qel::XpressSolEnum, double>>(item, "enum double ");
}

// The value as text, whatever its type: "0|0|" for no value.
std::string valueText(const nuv::attr::BaseItem& item) {
  std::ostringstream out;
  out << Item<int>(item).get(0) << '|' << Item<double>(item).get(0) << '|'
      << Item<std::string>(item).get(0);
  return out.str();
}

// Values inside an integer row's bounds, which the stand-in enforces for some controls.
int inRange(const nuv::attr::lib::RangeInfo<int>& row, int v) { return *row.supportsValue(v); }
int inRange(const nuv::attr::AbstractBaseInfo& /*row*/, int v) { return v; }

using SolverAttribsTest = StartedDataTest;

// Every option by name in three spellings and by key, written and read through the dictionary
// with its own type, and seen by its target.
TEST_F(SolverAttribsTest, ServesEveryOptionOnItsTarget) {
  const qel::SolverAttribs dict(data_, nullptr);
  int seen = 0;
  qel::forEachSolverAttrib([&](const auto& row) {
    const std::string name = *row.name().get();
    const int key = row.ref().value();
    const int id = qel::refId(key);
    const qel::RefKind kind = qel::refKind(key);
    SCOPED_TRACE(name);
    ++seen;
    for (const std::string& n : {name, spelt(name, ::toupper), spelt(name, ::tolower)}) {
      EXPECT_EQ(dict.indexKey(n), key);
      EXPECT_TRUE(dict.contains(n));
    }
    EXPECT_EQ(dict.stringKey(key), name);
    EXPECT_TRUE(dict.contains(key));
    const nuv::attr::BaseItem item = dict[spelt(name, ::toupper)];
    EXPECT_EQ(item.typeCode(), kind == qel::RefKind::Double   ? TypeCode::kDouble
                               : kind == qel::RefKind::String ? TypeCode::kString
                                                              : TypeCode::kInt);
    if (kind == qel::RefKind::Double) {
      Item<double>(item).set(0.625, 0);
      EXPECT_EQ(Item<double>(dict[key]).get(0), 0.625);
      EXPECT_EQ(data_->prob->getDblControl(id), 0.625);
    } else if (kind == qel::RefKind::String) {
      Item<std::string>(item).set("qel", 0);
      EXPECT_EQ(Item<std::string>(dict[key]).get(0), "qel");
      EXPECT_EQ(
          id <= 999 ? data_->linkAttribs->getStr(key)->get(0) : data_->prob->getStrControl(id),
          "qel");
    } else {
      // Two values, so that at least one differs from what the target held.
      for (const int v : {inRange(row, 1), inRange(row, kind == qel::RefKind::Bit ? 0 : 2)}) {
        Item<int>(item).set(v, 0);
        EXPECT_EQ(Item<int>(dict[key]).get(0), v);
        const int held = id <= 999   ? data_->linkAttribs->getInt(key)->get(0)
                         : id < 6200 ? data_->prob->getIntControl(id)
                         : id < 6600 ? data_->solPool->getIntControl(id)
                         : id < 7000 ? data_->solEnum->getIntControl(id)
                                     : data_->prob->getIntControl(id);
        EXPECT_EQ(kind == qel::RefKind::Bit ? (held >> (qel::refBit(key) - 1)) & 1 : held, v);
      }
    }
  });
  EXPECT_EQ(seen, 761);
}

TEST_F(SolverAttribsTest, DecodesKeysByFamilyAndRefusesOthers) {
  const qel::SolverAttribs dict(data_, nullptr);
  // Key, then the handle's description.
  const char* cases[] = {"70030200 1 double 7003",
                         "80770401 2 bit 8077.0",
                         "81420406 2 bit 8142.5",
                         "80070101 2 bit 8007.0",
                         "80770432 2 bit 8077.31",
                         "1030010100 2 int 103001",
                         "60180300 5 string 6018",
                         "61990100 2 int 6199",
                         "70000100 2 int 7000",
                         "62000100 2 pool int 6200",
                         "65980200 1 pool double 6598",
                         "66000100 2 enum int 6600",
                         "66980200 1 enum double 6698",
                         "9990100 2 none",
                         "1010200 1 none",
                         "1010400 4 none"};
  for (const std::string c : cases) {
    const int key = std::stoi(c);
    EXPECT_EQ(std::to_string(key) + " " + describe(dict[key]), c);
  }
  // Keys that serve nothing and have no type.
  for (const int key :
       {1010500, 80770433, 81420400, 62030300, 65990100, 66990100, 10000100, -1, 2147483647}) {
    EXPECT_EQ(describe(dict[key]), "0 none") << key;
  }
  for (const char* name : {"", "feastol ", "feas", "nosuchoption"}) {
    EXPECT_TRUE(dict[name].empty() && !dict.contains(name) && !dict.indexKey(name)) << name;
  }
  EXPECT_FALSE(dict.contains(70000100) || dict.stringKey(70000100));
}

TEST_F(SolverAttribsTest, BitOptionsWriteTheWholeControl) {
  const qel::SolverAttribs dict(data_, nullptr);
  Item<int> singletons(dict["presolveOps_singletonColRemoval"]);  // bit 0 of 8077, 511 at first
  EXPECT_EQ(singletons.get(0), 1);
  singletons.set(0, 0);
  EXPECT_EQ(data_->prob->getIntControl(8077), 510);
  EXPECT_TRUE(data_->prob->modifiedControl(8077));
  EXPECT_EQ(singletons.supportsValue(5), 1);
  Item<int>(dict[80770410]).set(5, 0);
  EXPECT_EQ(data_->prob->getIntControl(8077), 510 + 512);
  data_->prob->setIntControl(8278, 4);
  Item<int> sign(dict[82780132]);  // bit 31 of a control holding 4
  sign.set(1, 0);
  EXPECT_EQ(data_->prob->getIntControl(8278), INT_MIN + 4);
  EXPECT_EQ(sign.get(0), 1);
}

TEST_F(SolverAttribsTest, ResetRestoresProblemDefaultsOnlyAndKeepsTheRecord) {
  const qel::SolverAttribs dict(data_, nullptr);
  for (const int key : {70030200, 60180300, 82780100}) {
    const std::string before = valueText(dict[key]);
    Item<double>(dict[key]).set(2.5, 0);
    Item<std::string>(dict[key]).set("", 0);
    Item<int>(dict[key]).set(3, 0);
    nuv::attr::BaseItem(dict[key]).reset();
    EXPECT_EQ(valueText(dict[key]), before) << key;
    EXPECT_TRUE(data_->prob->modifiedControl(qel::refId(key))) << key;
  }
  Item<int> cullObj(dict["solnpoolCullObj"]);
  cullObj.set(9, 0);
  cullObj.reset();
  EXPECT_TRUE(cullObj.get(0) == 9 && !cullObj.supportsReset());
  EXPECT_THROW(nuv::attr::BaseItem(dict[80770401]).reset(), nuv::attr::Exception);
}

TEST_F(SolverAttribsTest, AnswersNeutrallyOnceTheTargetsAreGone) {
  const qel::SolverAttribs dict(data_, nullptr);
  data_->solPool.reset();
  Item<int> poolBeforeStart(dict[62030100]);
  data_->solPool = std::make_shared<qel::XpressSolPool>();
  const std::vector<nuv::attr::BaseItem> items = {dict[82780100], dict[70030200], dict[60180300],
                                                  dict[80770401], dict[66010100]};
  data_.reset();
  xprs::testing::clearCalls();
  EXPECT_EQ(poolBeforeStart.elemCount() + poolBeforeStart.get(0), 0);
  for (nuv::attr::BaseItem item : items) {
    SCOPED_TRACE(describe(item));
    EXPECT_EQ(item.elemCount(), 0);
    EXPECT_EQ(valueText(item), "0|0|");
    Item<int>(item).set(1, 0);
    Item<double>(item).set(1, 0);
    Item<std::string>(item).set("x", 0);
  }
  Item<double>(items[1]).reset();
  EXPECT_TRUE(xprs::testing::calls().empty());
  // The dictionary itself still answers from the tables, but hands out no items.
  EXPECT_TRUE(dict[70030200].empty() && dict["feastol"].empty());
  EXPECT_EQ(dict.size(), 761);
  EXPECT_EQ(dict.indexKey("FeasTol"), 70030200);
  std::set<int> expected;
  qel::forEachSolverAttrib([&](const auto& row) { expected.insert(row.ref().value()); });
  const nuv::idx::List keys = dict.indexKeys();
  std::vector<int> listed(static_cast<std::size_t>(keys.size()));
  keys.toVector(listed);
  EXPECT_EQ(listed.size(), 761U);
  EXPECT_EQ(std::set<int>(listed.begin(), listed.end()), expected);
}

TEST_F(SolverAttribsTest, ProblemControlsOfACallbackContextGoToTheView) {
  const qel::SolverAttribs dict(data_, &nuv::opt::context::node);
  Item<double> feasTol(dict["feastol"]);
  EXPECT_THROW((void)feasTol.get(0), nuv::Exception);  // no problem lent outside callbacks
  data_->callbackState.probView->setProb(data_->prob->rawProb());
  feasTol.set(0.5, 0);
  EXPECT_EQ(data_->prob->getDblControl(7003), 0.5);
  EXPECT_TRUE(data_->callbackState.probView->modifiedControl(7003) &&
              !data_->prob->modifiedControl(7003));
  data_->callbackState.probView->setProb(nullptr);
  Item<int>(dict[66010100]).set(4, 0);
  EXPECT_EQ(data_->solEnum->getIntControl(6601), 4);
}

// Each test runs in a process of its own, so here the threads race to build both maps.
TEST(SolverAttribsMapsTest, AreBuiltOnceUnderConcurrentFirstUse) {
  const qel::SolverAttribs dict({}, nullptr);
  constexpr int kThreads = 16;
  std::latch start(kThreads);
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      if (t % 2 == 0 ? !dict.contains(81420406) : dict.indexKey("FEASTOL") != 70030200) ++wrong;
      if (dict.stringKey(70030200) != "feasTol" || dict.indexKeys().size() != 761) ++wrong;
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace qel_test
