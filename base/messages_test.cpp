#include "base/messages.hpp"

#include <gtest/gtest.h>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

TEST(Messages, DecodeFromShiftJisToTheirTexts) {
  const struct {
    Message message;
    const char* text;
  } kTexts[] = {
      {Message::CannotOpenFile, "ファイルを開くことができません"},
      {Message::NoConfigurationFile, "設定ファイル(Velmorta.cfg)がありません"},
      {Message::BadOutputDirectory, "ガーバーデータの出力先が不正です"},
      {Message::BadLineWidthDefault, "線幅の初期値が不正です"},
      {Message::BadFixedLandDefault, "固定時ランドの初期値が不正です"},
      {Message::BadAuxLandDefault, "補助ランドの初期値が不正です"},
      {Message::BadHoleDefault, "ホールの初期値が不正です"},
      {Message::BadApertureSetting, "アパーチャの設定が不正です"},
      {Message::OutOfMemory, "メモリが不足しています"},
      {Message::ConversionComplete, "ガーバーデータ変換処理\u3000正常終了"},
  };
  for (const auto& [message, text] : kTexts) {
    EXPECT_EQ(testing::FromShiftJis(Bytes(message)), text);
    EXPECT_EQ(Bytes(message), testing::ToShiftJis(text)) << text;
  }
}

}  // namespace
}  // namespace velmorta
