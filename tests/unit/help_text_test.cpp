#include "help/help_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(HelpText, SeventyOneLinesWithTheirSeparatorsBlanksAndQuote) {
  const std::string text = bootdeck::helpText();
  EXPECT_NE("\r\n", text.substr(text.size() - 2));
  std::vector<std::string> lines = {""};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\r\n") == 0) {
      lines.emplace_back();
      ++i;
    } else {
      lines.back() += text[i];
    }
  }
  ASSERT_EQ(71u, lines.size());
  const auto line = [&](std::size_t number) -> const std::string & { return lines[number - 1]; };
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string &l = line(number);
    EXPECT_EQ(std::string::npos, l.find_first_of("\r\n")) << "line " << number;
    // Separators of 82 asterisks open each section and close the text.
    const bool separator =
        number == 1 || number == 10 || number == 20 || number == 47 || number == 71;
    EXPECT_EQ(separator, l == std::string(82, '*')) << "line " << number;
    EXPECT_FALSE(!separator && !l.empty() && l.find_first_not_of('*') == std::string::npos);
    // Only lines 63 and 65 (and the all-blank line 28) end in a blank, and in one only.
    const bool blankEnd = number == 28 || number == 63 || number == 65;
    EXPECT_EQ(blankEnd, !l.empty() && l.back() == ' ') << "line " << number << ": " << l;
  }
  for (const auto &[number, digit] :
       {std::pair<int, char>{2, '1'}, {11, '2'}, {21, '3'}, {48, '4'}})
    EXPECT_EQ(digit, line(number).front()) << "line " << number;
  EXPECT_EQ('"', line(7).back());
  EXPECT_EQ(1, std::count(line(7).begin(), line(7).end(), '"'));
  EXPECT_EQ("    ", line(28));
  for (const int number : {56, 57, 58})
    EXPECT_EQ("", line(number)) << "line " << number;
  EXPECT_NE(' ', line(63)[line(63).size() - 2]);
  EXPECT_NE(' ', line(65)[line(65).size() - 2]);
  const std::pair<std::size_t, std::size_t> indents[] = {
      {17, 20}, {25, 4}, {26, 4}, {27, 4}, {29, 4}, {30, 4}, {31, 4}, {35, 4}, {36, 4}, {37, 4},
      {40, 4},  {41, 4}, {42, 8}, {44, 4}, {45, 4}, {2, 0},  {13, 0}, {43, 0}, {69, 0}};
  for (const auto &[number, blanks] : indents)
    EXPECT_EQ(blanks, line(number).find_first_not_of(' ')) << "line " << number;
  EXPECT_NE(std::string::npos, line(35).find(" https://sourceforge.net/projects/grub4dos/files/ "));
  EXPECT_NE(std::string::npos, line(35).find(" https://grub4dos.sourceforge.net/ "));
  EXPECT_EQ("bootdeck 1.0", bootdeck::creditText());
}

} // namespace
