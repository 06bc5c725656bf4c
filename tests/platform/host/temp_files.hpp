// A directory of files written by a test, removed afterwards.
#ifndef TESTS_PLATFORM_HOST_TEMP_FILES_HPP_
#define TESTS_PLATFORM_HOST_TEMP_FILES_HPP_

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace qelhost_test {

class TempFiles {
 public:
  TempFiles()
      : dir_(std::filesystem::temp_directory_path() /
             ("qelhost_test_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
  }
  ~TempFiles() { std::filesystem::remove_all(dir_); }
  TempFiles(const TempFiles&) = delete;
  TempFiles& operator=(const TempFiles&) = delete;

  // Writes text to the file called name and returns its path.
  std::string write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name) << text;
    return path(name);
  }
  [[nodiscard]] std::string path(const std::string& name) const { return (dir_ / name).string(); }
  [[nodiscard]] std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace qelhost_test

#endif  // TESTS_PLATFORM_HOST_TEMP_FILES_HPP_
