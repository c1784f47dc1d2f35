#include "help/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(HelpText, SeventyOneLinesInFourSectionsWithTheirBlanks) {
  std::vector<std::string> lines(1);
  for (const char c : bootdeck::helpText())
    if (c == '\n')
      lines.emplace_back();
    else if (c != '\r')
      lines.back() += c;
  ASSERT_EQ(71u, lines.size()) << "no line break after the last line";
  const std::string stars(82, '*');
  const std::pair<size_t, std::string> exact[] = {
      {1, stars},       {2, "1. 介绍"}, {10, stars},
      {11, "2.主页面"}, {20, stars},    {21, "3.快速上手"},
      {28, "    "},     {47, stars},    {48, "4、高级中的选项设置"},
      {56, ""},         {57, ""},       {58, ""},
      {71, stars}};
  for (const auto &[number, text] : exact)
    EXPECT_EQ(text, lines[number - 1]) << "line " << number;
  EXPECT_EQ('"', lines[6].back());
  EXPECT_EQ(20u, lines[16].find_first_not_of(' '));
  EXPECT_EQ(8u, lines[41].find_first_not_of(' '));
  for (size_t number : {63, 65}) // one blank at the end
    EXPECT_EQ(lines[number - 1].size() - 2, lines[number - 1].find_last_not_of(' ')) << number;
}

} // namespace
