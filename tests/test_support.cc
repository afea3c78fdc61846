#include "test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ppd-localize-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::Write(const std::string& name, std::string_view bytes) const {
  const std::string file = path_ + "/" + name;
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
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string ExamplePath(const std::string& name) { return std::string(PPD_LOCALIZE_SOURCE_DIR) + "/examples/" + name; }

PPDFile OpenPPDText(std::string_view ppd_text) {
  std::string error;
  return PPDOpenBytes(ppd_text, &error);
}

RunResult RunTool(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                  const std::string& stdout_path, const std::string& stdin_path) {
  ScratchDir dir;
  const std::string out_path = stdout_path.empty() ? dir.path() + "/out" : stdout_path, err_path = dir.path() + "/err";
  std::vector<std::string> strings = {PPD_LOCALIZE_BINARY};
  strings.insert(strings.end(), args.begin(), args.end());
  strings.push_back("PATH=/usr/bin:/bin");
  for (const auto& [name, value] : env) strings.push_back(name + "=" + value);
  std::vector<char*> argv, envp;
  for (size_t i = 0; i < strings.size(); ++i) (i <= args.size() ? argv : envp).push_back(strings[i].data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, stdin_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid;
  RunResult result;
  int wstatus = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0 && waitpid(pid, &wstatus, 0) == pid &&
      WIFEXITED(wstatus)) {
    result.status = WEXITSTATUS(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (stdout_path.empty()) result.out = ReadFile(out_path);
  result.err = ReadFile(err_path);
  return result;
}
