#include "model_reader.hpp"

#include <fstream>
#include <ios>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lp_reader.hpp"
#include "model_text.hpp"
#include "mps_reader.hpp"

namespace qelhost {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& why) {
  throw std::runtime_error("cannot read '" + path + "': " + why);
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         lowerCased(text.substr(text.size() - suffix.size())) == suffix;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, "the file cannot be opened");
  try {
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.bad()) return text;
  } catch (const std::ios_base::failure&) {
    // A directory, say: the stream opens, reading fails.
  }
  fail(path, "the file cannot be read");
}

}  // namespace

vopRec readModel(const std::string& path) {
  if (endsWith(path, ".mps")) return readMps(fileText(path), path);
  if (endsWith(path, ".lp")) return readLp(fileText(path), path);
  fail(path, "the file name must end in .mps or .lp");
}

}  // namespace qelhost
