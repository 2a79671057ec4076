#include "xml/Base64Encoder.h"

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
  end = encoder.finish(end);
  out.resize(static_cast<std::size_t>(end - out.data()));
  return out;
}

// An independent decoder: the alphabet's value of each character, line
// breaks skipped, '=' ends the data.
std::string Decode(const std::string& text) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  unsigned bits = 0;
  int held = 0;
  for (const char c : text) {
    if (c == '\r' || c == '\n') continue;
    if (c == '=') break;
    bits = (bits << 6) | static_cast<unsigned>(alphabet.find(c));
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes += static_cast<char>((bits >> held) & 0xFF);
    }
  }
  return bytes;
}

TEST(Base64Encoder, EncodesGroupsWithPadding) {
  EXPECT_EQ(Encode("abc"), "YWJj");
  EXPECT_EQ(Encode("ab"), "YWI=");
  EXPECT_EQ(Encode("a"), "YQ==");
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode(std::string("\xFB\xFF", 2)), "+/8=");
}

TEST(Base64Encoder, BreaksLinesAfterSeventyTwoCharacters) {
  const std::string line(72, 'A');
  EXPECT_EQ(Encode(std::string(54, '\0')), line + "\r\n");
  EXPECT_EQ(Encode(std::string(55, '\0')), line + "\r\nAA==");
  EXPECT_EQ(Encode(std::string(108, '\0')), line + "\r\n" + line + "\r\n");
}

TEST(Base64Encoder, ChunkedInputGivesTheSameTextAndDecodesBack) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t length = 0; length < 300; length += 7) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(byte(random));
    const std::string whole = Encode(bytes);
    EXPECT_EQ(Decode(whole), bytes) << length;
    for (const std::size_t chunk : {1u, 2u, 5u, 54u}) EXPECT_EQ(Encode(bytes, chunk), whole) << length << "/" << chunk;
  }
}

}  // namespace
