// Reading configuration and rules files whole: files with a size, files
// without one (empty, in /proc, a FIFO), and the ones that cannot be read.
#include "ppdio/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <thread>

#include "test_support.h"

TEST(TextFile, ReadsFilesWithAndWithoutASize) {
  ScratchDir dir;
  const std::string large(300000, 'x');
  for (const std::string& bytes : {std::string("Rules /a\n"), std::string(), large, std::string("a\0b", 3)}) {
    std::optional<TextFile> file = TextFile::Read(dir.Write("f", bytes));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->text(), bytes);
    const TextFile moved = std::move(*file);
    EXPECT_EQ(moved.text(), bytes);
  }
  const std::optional<TextFile> proc = TextFile::Read("/proc/self/status");
  ASSERT_TRUE(proc);
  EXPECT_TRUE(proc->text().starts_with("Name:")) << proc->text().substr(0, 40);
  const std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo) << large; });
  const std::optional<TextFile> piped = TextFile::Read(fifo);
  writer.join();
  ASSERT_TRUE(piped);
  EXPECT_EQ(piped->text(), large);
  EXPECT_FALSE(TextFile::Read(dir.path()));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_FALSE(TextFile::Read(dir.path() + "/missing"));
  EXPECT_EQ(errno, ENOENT);
}
