#include "conduit/base/text_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "conduit/base/ansi_text.h"

namespace korvet::base {
namespace {

// Shift-JIS: "\x82\xA0" is one hiragana character; "\x83\x5C" is a katakana character whose trail
// byte is the backslash.
constexpr const char* kHiragana = "\x82\xA0";
constexpr const char* kKatakanaSo = "\x83\x5C";

TEST(TextBufferStorage, FollowsTheAllocationAndGrowthRules) {
  TextBuffer fresh;
  EXPECT_EQ(fresh.GetCapacity(), 256);
  EXPECT_STREQ(fresh.Text(), "");

  EXPECT_EQ(TextBuffer(TextBuffer::Capacity{10}).GetCapacity(), 256);
  EXPECT_EQ(TextBuffer(TextBuffer::Capacity{1000}).GetCapacity(), 1000);

  TextBuffer grown("abc");
  EXPECT_EQ(grown.GetCapacity(), 3 + 256);  // assignment reserves the length plus 256
  EXPECT_EQ(grown.Reserve(600), 0);
  EXPECT_EQ(grown.GetCapacity(), 600 + 64);
  EXPECT_STREQ(grown.Text(), "abc");
  EXPECT_EQ(grown.AppendText("de"), 0);
  EXPECT_EQ(grown.GetCapacity(), 664);  // no reallocation for a short append

  EXPECT_EQ(grown.Resize(2), 0);  // a block too small for the text keeps what fits before its NUL
  EXPECT_STREQ(grown.Text(), "a");

  grown.AssignText("xyz");
  grown.ClearText();  // zeroes the bytes, keeps the block
  EXPECT_STREQ(grown.Text(), "");
  EXPECT_GT(grown.GetCapacity(), 0);
  grown.FreeStorage(true);
  EXPECT_EQ(grown.GetCapacity(), 0);
  EXPECT_STREQ(grown.Text(), "");
  EXPECT_TRUE(grown.IsEmpty());
}

TEST(TextBufferStorage, ImpossibleAllocationsFailWithOutOfMemoryAndKeepTheText) {
  TextBuffer text("keep");
  EXPECT_EQ(text.Reserve(0x7FFFFFF0), kTextOutOfMemory);
  EXPECT_STREQ(text.Text(), "keep");
  EXPECT_EQ(text.SetLength(0x7FFFFFFF), kTextOutOfMemory);
  EXPECT_STREQ(text.Text(), "keep");
}

TEST(TextBufferAssign, CopiesFromItsOwnTextEvenWhenItMustGrow) {
  TextBuffer text("abcdef");
  text.AppendText(text.Text());  // the source lies in the block that growing replaces
  EXPECT_STREQ(text.Text(), "abcdefabcdef");

  std::string big(300, 'x');
  TextBuffer large(big.c_str());
  large.AppendText(large.Text());
  EXPECT_EQ(large.Length(), 600);

  text.AssignText(text.Text() + 6);
  EXPECT_STREQ(text.Text(), "abcdef");
  EXPECT_EQ(text.AssignTextOrClear(text.Text()), 0);
  EXPECT_STREQ(text.Text(), "abcdef");
  text.AssignTextOrClear(nullptr);
  EXPECT_STREQ(text.Text(), "");

  TextBuffer other("other");
  text.AssignIfOther(other);
  EXPECT_STREQ(text.Text(), "other");
  text.AssignChar('z');
  text.AppendChar('!');
  text.AppendTextIfAny(nullptr);
  text.AppendBuffer(other);
  EXPECT_STREQ(text.Text(), "z!other");
  text.Concatenate(nullptr, "b");
  EXPECT_STREQ(text.Text(), "b");

  EXPECT_STREQ(("a" + other + '.' + TextBuffer("x") + "y").Text(), "aother.xy");
  TextBuffer copy(other);
  TextBuffer moved(std::move(copy));
  EXPECT_STREQ(moved.Text(), "other");
  EXPECT_STREQ(copy.Text(), "");  // NOLINT: a moved-from buffer stays readable
}

TEST(TextBufferPositions, CountDoubleByteCharactersOnce) {
  ScopedCodePage japanese(932);
  TextBuffer text((std::string("a") + kHiragana + "b").c_str());
  EXPECT_EQ(text.Length(), 4);  // bytes
  EXPECT_EQ(text.CharAt(1), '\x82');
  EXPECT_EQ(text.CharAt(2), 'b');
  EXPECT_EQ(text.CharAtAgain(3), '\0');
  EXPECT_EQ(text.CharAt(-1), '\0');

  text.SetCharAt(1, 'x');  // both bytes of the character give way
  EXPECT_STREQ(text.Text(), "axb");
  text.SetCharAt(3, 'y');
  EXPECT_STREQ(text.Text(), "axb");

  TextBuffer mixed((std::string("1") + kHiragana + "2").c_str());
  mixed.Reverse();
  EXPECT_STREQ(mixed.Text(), (std::string("2") + kHiragana + "1").c_str());
}

TEST(TextBufferSearch, NeverMatchesATrailByte) {
  const std::string path = std::string(kKatakanaSo) + "\\dir";
  {
    ScopedCodePage japanese(932);
    TextBuffer text(path.c_str());
    EXPECT_EQ(text.FindChar('\\'), 2);
    EXPECT_EQ(text.ReverseFindChar('\\'), 2);
    EXPECT_EQ(text.FindOneOf("/\\"), 2);
    EXPECT_EQ(text.FindText("\\d"), 2);
    text.AssignText(kKatakanaSo);
    text.TrimRightChar('\\');
    EXPECT_STREQ(text.Text(), kKatakanaSo);
  }
  ScopedCodePage western(1252);  // there the same byte is a backslash of its own
  TextBuffer text(path.c_str());
  EXPECT_EQ(text.FindChar('\\'), 1);
}

TEST(TextBufferSearch, FindsCharactersTextsAndSets) {
  TextBuffer text("name,text,more");
  EXPECT_EQ(text.FindChar(','), 4);
  EXPECT_EQ(text.FindCharAgain('?'), -1);
  EXPECT_EQ(text.ReverseFindChar(','), 9);
  EXPECT_EQ(text.FindText("text"), 5);
  EXPECT_EQ(text.FindText(""), -1);
  EXPECT_EQ(TextBuffer().FindText("a"), -1);
  EXPECT_EQ(text.FindBufferAgain(TextBuffer("more")), 10);
  EXPECT_EQ(text.FindOneOf("xt"), 5);
  EXPECT_STREQ(text.SpanExcluding(",").Text(), "name");
  EXPECT_STREQ(TextBuffer("123abc").SpanIncluding("0123456789").Text(), "123");
  EXPECT_STREQ(text.SpanIncluding(nullptr).Text(), "");
}

TEST(TextBufferPieces, MidLeftAndRightStayInsideTheText) {
  TextBuffer text("abcdef");
  EXPECT_STREQ(text.Mid(2, 3).Text(), "cde");
  EXPECT_STREQ(text.Mid(2, -1).Text(), "cdef");
  EXPECT_STREQ(text.Mid(4, 100).Text(), "ef");
  EXPECT_STREQ(text.Mid(10, 2).Text(), "");
  EXPECT_STREQ(text.Mid(-3, 2).Text(), "ab");
  EXPECT_STREQ(text.Left(2).Text(), "ab");
  EXPECT_STREQ(text.Left(50).Text(), "abcdef");
  EXPECT_STREQ(text.Right(2).Text(), "ef");
  EXPECT_STREQ(text.Right(50).Text(), "abcdef");
  EXPECT_STREQ(text.Right(-1).Text(), "");
}

TEST(TextBufferPieces, TakeFirstWordSplitsAtWhiteSpaceAndStopsAtTheEnd) {
  TextBuffer text("copy \t file.qzl now");
  TextBuffer rest = text.TakeFirstWord();
  EXPECT_STREQ(text.Text(), "copy");
  EXPECT_STREQ(rest.Text(), "file.qzl now");

  TextBuffer leading(" lead");
  EXPECT_STREQ(leading.TakeFirstWord().Text(), "");
  EXPECT_STREQ(leading.Text(), " lead");

  TextBuffer single("single");  // no white space anywhere: the scan ends at the text's end
  EXPECT_STREQ(single.TakeFirstWord().Text(), "");
  EXPECT_STREQ(single.Text(), "single");
}

TEST(TextBufferEdit, TrimsAndChangesCase) {
  TextBuffer text("  \tKorvet Set \r\n");
  text.TrimLeft();
  text.TrimRight();
  EXPECT_STREQ(text.Text(), "Korvet Set");
  text.AssignText("xxabcxx");
  text.TrimLeftChar('x');
  text.TrimRightChar('x');
  EXPECT_STREQ(text.Text(), "abc");
  text.AssignText("-+abc+-");
  text.TrimLeftSet("+-");
  text.TrimRightSet("-+");
  EXPECT_STREQ(text.Text(), "abc");
  text.TrimRightSet("abc");
  EXPECT_STREQ(text.Text(), "");

  ScopedCodePage western(1252);
  text.AssignText("korvet \xE9t\xE9");
  text.MakeUpper();
  EXPECT_STREQ(text.Text(), "KORVET \xC9T\xC9");
  text.MakeLower();
  EXPECT_STREQ(text.Text(), "korvet \xE9t\xE9");
  EXPECT_EQ(text.CompareTextNoCase("KORVET \xC9T\xC9"), 0);
  EXPECT_LT(text.CompareText("z"), 0);
  EXPECT_GT(text.CompareBuffer(TextBuffer("a")), 0);
  EXPECT_EQ(text.CompareText(text.Text()), 0);
}

TEST(TextBufferWritable, DirectWritingStaysTerminatedAndShrinksAfterwards) {
  TextBuffer text;
  char* writable = text.GetWritable(0);
  ASSERT_NE(writable, nullptr);
  std::memset(writable, 'x', static_cast<std::size_t>(text.GetCapacity()));  // no room left for a NUL
  EXPECT_EQ(std::strlen(text.Text()), 256u);
  EXPECT_EQ(text.Length(), 256);

  writable = text.GetWritable(1000);
  EXPECT_EQ(text.GetCapacity(), 1064);
  std::strcpy(writable, "hello");
  text.ReleaseWritable(-1);
  EXPECT_EQ(text.GetCapacity(), 5 + 64);
  EXPECT_STREQ(text.Text(), "hello");
  text.ReleaseWritable(3);
  EXPECT_STREQ(text.Text(), "hel");
  text.ReleaseWritable(10);  // outside the text: nothing is cut
  EXPECT_STREQ(text.Text(), "hel");

  TextBuffer unallocated{""};
  EXPECT_EQ(unallocated.GetCapacity(), 0);
  EXPECT_NE(unallocated.GetWritable(0), nullptr);  // the writer gets real storage, never the shared empty text
  EXPECT_EQ(unallocated.GetCapacity(), 256);
}

TEST(TextBufferWritable, SetLengthGrowsCutsAndShrinks) {
  TextBuffer text(std::string(100, 'a').c_str());
  const long before = text.GetCapacity();
  EXPECT_EQ(text.SetLength(1000), 0);
  EXPECT_GE(text.GetCapacity(), 1001);
  EXPECT_EQ(text.Length(), 100);
  EXPECT_EQ(text.SetLength(10), 0);
  EXPECT_EQ(text.Length(), 10);
  EXPECT_EQ(text.GetCapacity(), 10 + 64);
  EXPECT_EQ(text.SetLength(-1), 0);
  EXPECT_EQ(text.GetCapacity(), 10 + 64);
  EXPECT_GT(before, 0);
}

TEST(TextBufferFormat, FormatsWhateverLengthTheArgumentsNeed) {
  TextBuffer text;
  const std::string name(1000, 'n');
  EXPECT_EQ(FormatInto(text, "%s-%05d-%x", name.c_str(), 42, 255u), 0);
  EXPECT_EQ(std::string(text.Text()), name + "-00042-ff");
  FormatInto(text, "%-8s|%3d|%c", "ab", 7, 'z');
  EXPECT_STREQ(text.Text(), "ab      |  7|z");
}

}  // namespace
}  // namespace korvet::base
