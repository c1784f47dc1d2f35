#include "help/help_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> helpLines() {
  const std::string text = bootdeck::helpText();
  std::vector<std::string> result;
  std::string::size_type start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  result.push_back(text.substr(start));
  return result;
}

std::string::size_type leadingBlanks(const std::string &line) {
  const auto first = line.find_first_not_of(' ');
  return first == std::string::npos ? line.size() : first;
}

TEST(HelpText, SeventyOneLinesJoinedByCrLfWithNoneAtTheEnd) {
  const std::string text = bootdeck::helpText();
  EXPECT_NE("\r\n", text.substr(text.size() - 2));
  const std::vector<std::string> lines = helpLines();
  ASSERT_EQ(71u, lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(std::string::npos, lines[i].find_first_of("\r\n")) << "line " << i + 1;
}

TEST(HelpText, SeparatorsOfEightyTwoAsterisksOpenEachSectionAndCloseTheText) {
  const std::vector<std::string> lines = helpLines();
  ASSERT_EQ(71u, lines.size());
  const std::set<std::size_t> separators = {1, 10, 20, 47, 71};
  const std::string separator(82, '*');
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string &line = lines[number - 1];
    if (separators.count(number))
      EXPECT_EQ(separator, line) << "line " << number;
    else
      EXPECT_FALSE(!line.empty() && line.find_first_not_of('*') == std::string::npos)
          << "line " << number;
  }
  // Each section's heading follows its separator and carries its number.
  const std::pair<std::size_t, char> headings[] = {{2, '1'}, {11, '2'}, {21, '3'}, {48, '4'}};
  for (const auto &[number, digit] : headings)
    EXPECT_EQ(digit, lines[number - 1].front()) << "line " << number;
}

TEST(HelpText, BlanksAndQuotesThatBelongToTheLines) {
  const std::vector<std::string> lines = helpLines();
  ASSERT_EQ(71u, lines.size());
  const auto line = [&](std::size_t number) -> const std::string & { return lines[number - 1]; };

  EXPECT_EQ('"', line(7).back());
  EXPECT_EQ(1, std::count(line(7).begin(), line(7).end(), '"'));
  EXPECT_EQ("    ", line(28));
  for (std::size_t number : {56, 57, 58})
    EXPECT_EQ("", line(number)) << "line " << number;

  // Only lines 63 and 65 (and the all-blank line 28) end in a blank.
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const bool endsInBlank = !line(number).empty() && line(number).back() == ' ';
    const bool expected = number == 28 || number == 63 || number == 65;
    EXPECT_EQ(expected, endsInBlank) << "line " << number << ": \"" << line(number) << '"';
  }
  EXPECT_NE(' ', line(63)[line(63).size() - 2]);
  EXPECT_NE(' ', line(65)[line(65).size() - 2]);

  struct Indent {
    std::size_t line, blanks;
  };
  const Indent indents[] = {{17, 20}, {25, 4}, {26, 4}, {27, 4}, {29, 4}, {30, 4}, {31, 4},
                            {35, 4},  {36, 4}, {37, 4}, {40, 4}, {41, 4}, {42, 8}, {44, 4},
                            {45, 4},  {2, 0},  {13, 0}, {43, 0}, {69, 0}};
  for (const Indent &indent : indents)
    EXPECT_EQ(indent.blanks, leadingBlanks(line(indent.line))) << "line " << indent.line;
}

TEST(HelpText, DownloadLineNamesBothLocations) {
  const std::string line = helpLines().at(34);
  EXPECT_NE(std::string::npos, line.find(" https://sourceforge.net/projects/grub4dos/files/ "));
  EXPECT_NE(std::string::npos, line.find(" https://grub4dos.sourceforge.net/ "));
}

TEST(HelpText, CreditNamesProductAndVersion) {
  EXPECT_EQ("bootdeck 1.0", bootdeck::creditText());
}

} // namespace
