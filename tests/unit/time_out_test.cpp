#include "operation/time_out.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char *text;
  const char *confirmed; // nullptr: not a 16-bit integer
};

TEST(TimeOut, ConvertsLikeAnIntegerConversionOfBasic) {
  const Case cases[] = {
      {"5", "5"},           {"07", "7"},          {" 7", "7"},          {"7 ", "7"},
      {"\t 12 ", "12"},     {"-3", "-3"},         {"+4", "4"},          {"00", "0"},
      {"-0", "0"},          {"2.5", "2"},         {"3.5", "4"},         {"-2.5", "-2"},
      {"-3.5", "-4"},       {"0.5", "0"},         {".5", "0"},          {"1.5", "2"},
      {"2.50001", "3"},     {"2.4999", "2"},      {"2.6", "3"},         {"5.", "5"},
      {"32767", "32767"},   {"-32768", "-32768"}, {"32767.4", "32767"}, {"-32768.5", "-32768"},
      {"32767.5", nullptr}, {"32768", nullptr},   {"-32769", nullptr},  {"99999999999", nullptr},
      {"", nullptr},        {" ", nullptr},       {"-", nullptr},       {".", nullptr},
      {"a", nullptr},       {"5a", nullptr},      {"1 2", nullptr},     {"--1", nullptr},
      {"1.2.3", nullptr},   {"0x10", nullptr},    {"５", nullptr},
  };
  for (const Case &c : cases) {
    const auto confirmed = bootdeck::confirmedTimeOutText(c.text);
    if (c.confirmed == nullptr) {
      EXPECT_FALSE(confirmed) << '"' << c.text << "\" gave \"" << *confirmed << '"';
    } else {
      ASSERT_TRUE(confirmed) << '"' << c.text << '"';
      EXPECT_EQ(c.confirmed, *confirmed) << '"' << c.text << '"';
    }
  }
}

} // namespace
