// The YAML reading of option descriptions: up to four YAML streams, separated by lines "---",
// for the integer, double, text and bit options in this order (as qel-options writes each
// table), each a sequence of mappings read one by one into blank descriptions of that kind.
//
// Reading may fail only with the framework's exceptions. A description read must write out as
// YAML that reads back into an equal description: the texts written of both are the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/yaml/event.hpp"
#include "nuv/yaml/parser.hpp"
#include "nuv/yaml/registry.hpp"
#include "qel/solver_attribs.hpp"
#include "yaml_platform/reflect_io.hpp"
#include "yaml_platform/text_doc.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace {

using nuv::attr::lib::Info;
using nuv::attr::lib::RangeInfo;
using nuv::yaml::EventType;

[[noreturn]] void violated(const char* rule, const std::string& first, const std::string& second) {
  std::fprintf(stderr, "option_yaml_fuzz: %s\n--- first\n%s\n--- second\n%s\n", rule, first.c_str(),
               second.c_str());
  std::abort();
}

RangeInfo<int> blank(const RangeInfo<int>&) {
  return {"", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}};
}
RangeInfo<double> blank(const RangeInfo<double>&) {
  return {"", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}};
}
template <class T>
Info<T> blank(const Info<T>&) {
  return {"", 1, true, std::nullopt, std::nullopt, {}};
}

// Writes the description, reads the text into a blank one of its kind, and expects the same
// text from that.
template <class Description>
void expectRoundTrip(const Description& read, nuv::yaml::Registry& registry) {
  const std::string written = yaml_platform::toYaml(read, registry);
  Description again = blank(read);
  try {
    yaml_platform::fromYaml(written, again, registry);
  } catch (const nuv::Exception& e) {
    violated("a written description does not read back", written, e.what());
  }
  const std::string rewritten = yaml_platform::toYaml(again, registry);
  if (rewritten != written) {
    violated("a description read back writes differently", written, rewritten);
  }
}

// Reads one stream: a sequence of at most table.size() mappings of the table's kind.
template <class Table>
void readStream(std::string text, const Table& table, nuv::yaml::Registry& registry) {
  try {
    yaml_platform::ParserHost host(std::move(text), registry);
    nuv::yaml::Parser& parser = host.parser();
    (void)parser.parse(EventType::StreamStart);
    (void)parser.parse(EventType::DocumentStart);
    (void)parser.parse(EventType::ListStart);
    for (const auto& row : table) {
      auto read = blank(row);
      yaml_platform::readMapping(parser, read);
      expectRoundTrip(read, registry);
    }
    (void)parser.parse(EventType::ListEnd);
    (void)parser.parse(EventType::DocumentEnd);
    (void)parser.parse(EventType::StreamEnd);
  } catch (const nuv::Exception&) {
    // A clear error for bad input is the expected answer.
  }
}

// The input cut at lines "---" into at most four texts.
std::vector<std::string> streams(std::string_view input) {
  std::vector<std::string> out(1);
  std::size_t at = 0;
  while (at <= input.size()) {
    std::size_t end = input.find('\n', at);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view line = input.substr(at, end - at);
    if (line == "---" && out.size() < 4) {
      out.emplace_back();
    } else {
      out.back().append(line).append(end < input.size() ? "\n" : "");
    }
    at = end + 1;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nuv::yaml::Registry registry;
  registry.add(std::make_shared<yaml_platform::TextDocAgent>());
  const std::vector<std::string> texts =
      streams(std::string_view(reinterpret_cast<const char*>(data), size));
  readStream(texts[0], qel::int_solver_attribs, registry);
  if (texts.size() > 1) readStream(texts[1], qel::dbl_solver_attribs, registry);
  if (texts.size() > 2) readStream(texts[2], qel::str_solver_attribs, registry);
  if (texts.size() > 3) readStream(texts[3], qel::bool_solver_attribs, registry);
  return 0;
}
