#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

ScratchDir::ScratchDir() : path_((std::filesystem::temp_directory_path() / "ppd-localize-test-XXXXXX").string()) {
  if (mkdtemp(path_.data()) == nullptr) std::abort();
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;  // a test that failed half-way may leave less behind
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::Write(const std::string& name, std::string_view bytes) const {
  const std::string file = path_ + "/" + name;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

UString U(std::string_view utf8) {
  std::optional<UString> text = StringCreateWithUTF8(utf8);
  if (!text) ADD_FAILURE() << "test data is not UTF-8";
  return text.value_or(UString());
}

std::string Utf8(UStringView text) {
  std::optional<std::string> bytes = StringCopyUTF8(text);
  if (!bytes) ADD_FAILURE() << "text does not encode";
  return bytes.value_or(std::string());
}

std::string ReadFile(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::string GzipBytes(std::string_view bytes) {
  // zlib in gzip form (window bits 15 + 16), as `gzip -n9` writes it, without a shell or a file.
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return "";
  std::string packed(deflateBound(&stream, bytes.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  if (!done) ADD_FAILURE() << "zlib could not pack the test data";
  return done ? packed : "";
}

std::string ExamplePath(const std::string& name) { return std::string(PPD_LOCALIZE_SOURCE_DIR) + "/examples/" + name; }

RunResult RunTool(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                  const std::string& stdout_path, const std::string& stdin_path) {
  return RunProgram(PPD_LOCALIZE_BINARY, args, env, stdout_path, stdin_path);
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env, const std::string& stdout_path,
                     const std::string& stdin_path) {
  const auto quote = [](std::string arg) {
    for (size_t at = 0; (at = arg.find('\'', at)) != std::string::npos; at += 4) arg.replace(at, 1, "'\\''");
    return "'" + arg + "'";
  };
  ScratchDir dir;
  const std::string out = stdout_path.empty() ? dir.path() + "/out" : stdout_path, err = dir.path() + "/err";
  std::string command = "env -i PATH=/usr/bin:/bin";
  for (const auto& [name, value] : env) command += " " + quote(name + "=" + value);
  command += " " + quote(program);
  for (const std::string& arg : args) command += " " + quote(arg);
  const std::string input = stdin_path.empty() ? " <&-" : " <" + quote(stdin_path);
  const int status = std::system((command + input + " >" + quote(out) + " 2>" + quote(err)).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, stdout_path.empty() ? ReadFile(out) : "", ReadFile(err)};
}
