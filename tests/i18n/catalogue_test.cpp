#include "i18n/catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "i18n/added_texts.h"

namespace qvr {
namespace {

bool IsWholeUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(Catalogue, EveryIdHasTextInBothLanguagesAndOthersGiveNull) {
  for (int id = 0; id < kMessageCount; ++id) {
    SCOPED_TRACE(id);
    std::string russian = Catalogue::TextIn(kRussian, MessageId(id));
    std::string english = Catalogue::TextIn(kEnglish, MessageId(id));
    EXPECT_FALSE(russian.empty());
    EXPECT_FALSE(english.empty());
    EXPECT_NE(russian, english);
    EXPECT_TRUE(IsWholeUtf8(russian));
  }
  for (int id : {-1, 87, 1000}) EXPECT_STREQ(Catalogue::TextIn(kEnglish, MessageId(id)), "(null)");
}

// The texts are formatted at run time, where the compiler cannot see them: each language takes
// the same arguments, with conversions the formatter check knows, and a call whose arguments
// do not fit its text gets the text back unformatted.
TEST(Catalogue, BothLanguagesOfEveryTextTakeTheSameArguments) {
  for (int id = 0; id < kMessageCount; ++id) {
    SCOPED_TRACE(id);
    const auto russian = FormatArgs(Catalogue::TextIn(kRussian, MessageId(id)));
    ASSERT_TRUE(russian.has_value());
    EXPECT_EQ(russian, FormatArgs(Catalogue::TextIn(kEnglish, MessageId(id))));
  }
  for (int id = 0; id < int(AddedText::kCount); ++id) {
    SCOPED_TRACE("added " + std::to_string(id));
    const auto russian = FormatArgs(TextIn(kRussian, AddedText(id)));
    ASSERT_TRUE(russian.has_value());
    EXPECT_EQ(russian, FormatArgs(TextIn(kEnglish, AddedText(id))));
  }
  EXPECT_EQ(Catalogue::FormatText("%s is %02u, %lu%%", "x", 7, 8ul), "x is 07, 8%");
  EXPECT_EQ(Catalogue::FormatText("%s is %u", 7, "x"), "%s is %u");
  EXPECT_EQ(Catalogue::FormatText("%s and %s", "x"), "%s and %s");
  EXPECT_EQ(Catalogue::FormatText("%llu", 7), "%llu");
  EXPECT_EQ(Catalogue::FormatText("%p", "x"), "%p");
}

// Every text as the product has always shown it, word for word: catalogue_texts.txt holds one
// line per id and language ("<id> ru|en <text>", line breaks as \n).
TEST(Catalogue, EveryTextReadsWordForWordAsShipped) {
  std::ifstream shipped(QVR_CATALOGUE_TEXTS);
  ASSERT_TRUE(shipped) << QVR_CATALOGUE_TEXTS;
  int lines = 0;
  for (std::string line; std::getline(shipped, line); ++lines) {
    std::istringstream fields(line);
    int id = -1;
    std::string language, text;
    fields >> id >> language;
    fields.get();  // the one blank before the text, which may begin with blanks itself
    std::getline(fields, text);
    std::string expected;
    for (size_t i = 0; i < text.size(); ++i) {
      const bool escaped = text[i] == '\\' && i + 1 < text.size();
      expected += escaped ? (text[++i] == 'n' ? '\n' : text[i]) : text[i];
    }
    EXPECT_EQ(Catalogue::TextIn(language == "ru" ? kRussian : kEnglish, MessageId(id)), expected)
        << "id " << id << " " << language;
  }
  EXPECT_EQ(lines, 2 * kMessageCount);
}

TEST(Catalogue, LanguageSwitchSelectsTheColumn) {
  Catalogue catalogue;
  EXPECT_STREQ(catalogue.Text(MessageId::kCaptionError), "Ошибка");
  catalogue.setLanguage(kEnglish);
  EXPECT_STREQ(catalogue.Text(MessageId::kCaptionError), "Error");
  EXPECT_STREQ(catalogue.Text(MessageId::kSelectOption), "Select an option");
  catalogue.setLanguage(7);  // a stored value other than 0 or 1 means Russian
  EXPECT_EQ(catalogue.language(), kRussian);
  EXPECT_STREQ(catalogue.Text(MessageId::kSelectOption), "Выберите необходимый пункт");
}

TEST(Catalogue, BannersKeepTheirAsteriskRuns) {
  EXPECT_STREQ(Catalogue::TextIn(kEnglish, MessageId::kDisconnectedBanner),
               "******** Controller \"QVR-B\" is disconnected **********");
  EXPECT_STREQ(Catalogue::TextIn(kRussian, MessageId::kDisconnectedBanner),
               "********** Контроллер \"QVR-B\" отключен **********");
  EXPECT_STREQ(Catalogue::TextIn(kEnglish, MessageId::kConnectedBanner),
               "******** Controller \"QVR-B\" is connected *************");
  EXPECT_STREQ(Catalogue::TextIn(kRussian, MessageId::kConnectedBanner),
               "********** Контроллер \"QVR-B\" подключен *********");
  EXPECT_STREQ(Catalogue::TextIn(kEnglish, MessageId::kDeviceBanner),
               "******************* Device *******************");
  EXPECT_STREQ(Catalogue::TextIn(kRussian, MessageId::kDeviceBanner),
               "**************** Устройство ****************");
  EXPECT_STREQ(Catalogue::TextIn(kEnglish, MessageId::kUpdateBanner),
               "******************* Update *******************");
  EXPECT_STREQ(Catalogue::TextIn(kRussian, MessageId::kUpdateBanner),
               "**************** Обновление ****************");
}

TEST(Catalogue, FormatsFillTheAlignedColumns) {
  Catalogue catalogue;
  catalogue.setLanguage(kEnglish);
  EXPECT_EQ(catalogue.Format(MessageId::kInfoApplicationVersion, 1u, 5u),
            "Application version       1.05");
  EXPECT_EQ(catalogue.Format(MessageId::kInfoSerialNumber, 123456lu),
            "The serial number         123456");
  EXPECT_EQ(catalogue.Format(MessageId::kTotalEvents, 3u, 96u), " Total events 3 of 96 ");
  EXPECT_EQ(catalogue.Format(MessageId::kConfigurationReadFailed, "MUX-410", "No errors"),
            "Error reading the configuration of the device \"MUX-410\"\nNo errors");
  catalogue.setLanguage(kRussian);
  EXPECT_EQ(catalogue.Format(MessageId::kInfoApplicationVersion, 1u, 5u), "Версия приложения 1.05");
  EXPECT_EQ(catalogue.Format(MessageId::kWindowTitle, kProgramVersion),
            "Сервисная программа. Версия 1.14");
}

TEST(Catalogue, LongFormattedTextIsCutTo999BytesOnACharacterBoundary) {
  Catalogue catalogue;
  catalogue.setLanguage(kEnglish);
  std::string ascii(2000, 'a');
  EXPECT_EQ(catalogue.Format(MessageId::kResultUnknown, 0).size(),
            std::string("Unknown error USB: 0").size());
  EXPECT_EQ(Catalogue::FormatText("%s", ascii.c_str()).size(), 999u);

  // One ASCII byte first, so that every two-byte letter starts at an odd offset and the cut at
  // 999 bytes falls into the middle of a letter.
  std::string cyrillic = "a";
  for (int i = 0; i < 1000; ++i) cyrillic += "ж";
  std::string cut = Catalogue::FormatText("%s", cyrillic.c_str());
  EXPECT_EQ(cut.size(), 999u);
  EXPECT_TRUE(IsWholeUtf8(cut));

  std::string shifted = Catalogue::FormatText("%s", cyrillic.c_str() + 1);
  EXPECT_EQ(shifted.size(), 998u);
  EXPECT_TRUE(IsWholeUtf8(shifted));
}

}  // namespace
}  // namespace qvr
