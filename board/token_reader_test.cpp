#include "board/token_reader.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

// Tokens by the plain definition: maximal runs of bytes other than the six white-space
// bytes. Every other byte, control bytes and 0x80 to 0xFF included, belongs to a token.
std::vector<std::string> NaiveTokens(const std::string& bytes) {
  std::vector<std::string> tokens;
  std::string current;
  for (const char c : bytes) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
      if (!current.empty()) tokens.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

TEST(TokenReader, SplitsLikeThePlainDefinitionWhateverTheBytesAndBufferSize) {
  std::mt19937 random(11);
  // Bytes around the white-space range and the word boundaries of the scanner.
  const std::string alphabet = std::string("\0\x01\x08\t\n\v\f\r\x0e\x1f !\"*,-09AZ\x7f\x80\xa0\xff", 24);
  for (int round = 0; round < 400; ++round) {
    std::string bytes(random() % 200, ' ');
    const bool longRuns = round % 4 == 0;
    for (char& c : bytes) c = longRuns && random() % 8 != 0 ? 'x' : alphabet[random() % alphabet.size()];
    const std::size_t bufferSize = round % 5 == 0 ? 1 << 20 : 1 + random() % 19;

    std::FILE* file = testing::OpenTempStream(bytes);
    TokenReader reader(file, bufferSize);
    std::vector<std::string> tokens;
    for (std::string_view token; reader.Next(token);) tokens.emplace_back(token);
    std::fclose(file);
    ASSERT_EQ(tokens, NaiveTokens(bytes)) << "round " << round << ", buffer " << bufferSize;
  }
}

}  // namespace
}  // namespace velmorta
