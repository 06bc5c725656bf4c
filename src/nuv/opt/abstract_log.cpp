#include "nuv/opt/abstract_log.hpp"

#include <iostream>

namespace nuv::opt {
namespace {

void write(std::string_view text) { std::cout.write(text.data(), std::ssize(text)); }

void writeTitled(std::string_view title, std::string_view text) {
  write("*** ");
  if (!title.empty()) {
    write(title);
    write(": ");
  }
  write(text);
  write("\n");
}

}  // namespace

void AbstractLog::newline() const { write("\n"); }

void AbstractLog::print(std::string_view text) const { write(text); }

void AbstractLog::println(std::string_view text) const {
  print(text);
  newline();
}

void AbstractLog::info(std::string_view text) const {
  write("--- ");
  write(text);
  write("\n");
}

void AbstractLog::warning(std::string_view title, std::string_view text) const {
  writeTitled(title, text);
}

void AbstractLog::error(std::string_view title, std::string_view text) const {
  writeTitled(title, text);
}

}  // namespace nuv::opt
