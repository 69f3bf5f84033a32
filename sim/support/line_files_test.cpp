#include "sim/support/line_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace korvet::sim {
namespace {

using Words = std::vector<std::string>;

// A line file of single words: a line with a blank in it is refused.
std::optional<Words> ParseWords(std::string_view text, std::string* error) {
  Words words;
  auto parseLine = [&](std::string_view line, std::string* why) {
    if (line.find(' ') != std::string_view::npos) {
      *why = "not one word";
      return false;
    }
    words.emplace_back(line);
    return true;
  };
  if (!ParseLines(text, parseLine, error)) return std::nullopt;
  return words;
}

TEST(LineFiles, CrLfOrLfLinesWithoutCommentsOrEmptyLines) {
  std::string error;
  std::optional<Words> words = ParseWords("; a comment\r\n\r\nalpha\r\nbeta\n\r\n;x y\ngamma\tdelta\r\nlast", &error);
  ASSERT_TRUE(words) << error;
  EXPECT_THAT(*words, ::testing::ElementsAre("alpha", "beta", "gamma\tdelta", "last"));
  words = ParseWords("", &error);
  ASSERT_TRUE(words) << error;
  EXPECT_TRUE(words->empty());
}

TEST(LineFiles, TheFirstRefusedLineIsNamedByItsNumberCountingEveryLine) {
  std::vector<std::string> seen;
  auto parseLine = [&](std::string_view line, std::string* why) {
    seen.emplace_back(line);
    *why = "bad " + std::string(line);
    return line != "two words";
  };
  std::string error;
  EXPECT_FALSE(ParseLines("; c\r\n\r\nok\ntwo words\r\nnever", parseLine, &error));
  EXPECT_EQ(error, "line 4: bad two words");
  EXPECT_THAT(seen, ::testing::ElementsAre("ok", "two words"));
}

TEST(LineFiles, LoadingAMissingDamagedOrUnreadableFile) {
  testing::ScratchFolder scratch;
  const std::string path = JoinPath(scratch.Path(), "Words.txt");
  std::string error;
  std::optional<Words> words = LoadLineFile(path, ParseWords, &error);
  ASSERT_TRUE(words) << error;
  EXPECT_TRUE(words->empty());

  ASSERT_TRUE(WriteFileAtomically(path, "one\r\ntwo\r\n", &error)) << error;
  words = LoadLineFile(path, ParseWords, &error);
  ASSERT_TRUE(words) << error;
  EXPECT_THAT(*words, ::testing::ElementsAre("one", "two"));

  ASSERT_TRUE(WriteFileAtomically(path, "one\r\ntwo three\r\n", &error)) << error;
  EXPECT_FALSE(LoadLineFile(path, ParseWords, &error));
  EXPECT_EQ(error, path + ", line 2: not one word");

  EXPECT_FALSE(LoadLineFile(scratch.Path(), ParseWords, &error));  // a folder, not a file
  EXPECT_THAT(error, ::testing::StartsWith("cannot open " + scratch.Path() + ": "));
}

}  // namespace
}  // namespace korvet::sim
