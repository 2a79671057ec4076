#include "xml/Base64Encoder.h"
#include "xml/XMLContent.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Encode(const std::string& bytes, std::size_t chunk = 0) {
  std::string out(bytes.size() * 2 + 16, '\0');
  Base64Encoder<const char*, char*> encoder;
  char* end = out.data();
  if (chunk == 0) chunk = bytes.size() + 1;
  for (std::size_t at = 0; at < bytes.size(); at += chunk)
    end = encoder.filter(end, bytes.data() + at, bytes.data() + std::min(bytes.size(), at + chunk));
  out.resize(static_cast<std::size_t>(encoder.finish(end) - out.data()));
  return out;
}

TEST(Base64Encoder, EncodesGroupsWithPaddingInLinesOfSeventyTwo) {
  EXPECT_EQ(Encode("abc"), "YWJj");
  EXPECT_EQ(Encode("ab"), "YWI=");
  EXPECT_EQ(Encode("a"), "YQ==");
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode("\xFB\xFF\xBF\xFF"), "+/+//w==");
  const std::string line(72, 'A');
  EXPECT_EQ(Encode(std::string(54, '\0')), line + "\r\n");
  EXPECT_EQ(Encode(std::string(55, '\0')), line + "\r\nAA==");
  EXPECT_EQ(Encode(std::string(108, '\0')), line + "\r\n" + line + "\r\n");

  XMLContent content(nullptr, 0, "ab\0c", 0, 4);
  EXPECT_STREQ(content.text(), "YWIAYw==") << "a content given a length stores Base64";
}

TEST(Base64Encoder, ChunkedInputGivesTheSameText) {
  std::mt19937 random(11);
  for (std::size_t length = 0; length < 300; length += 7) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(random());
    const std::string whole = Encode(bytes);
    for (const std::size_t chunk : {1u, 2u, 5u, 54u}) EXPECT_EQ(Encode(bytes, chunk), whole) << length << "/" << chunk;
  }
}

}  // namespace
