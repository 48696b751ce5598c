#include "i18n/translation_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qvr {
namespace {

bool IsListRow(std::string_view key) {
  bool caption = key.ends_with("_Caption");
  return key.ends_with("_Items") ||
         (caption && (key.find("_ComboBox") != std::string_view::npos ||
                      key.find("_CheckListBox") != std::string_view::npos));
}

TEST(TranslationTable, HoldsUniqueWellFormedKeys) {
  auto rows = TranslationRows();
  ASSERT_EQ(rows.size(), 119u);
  std::set<std::string_view> keys;
  for (const TranslationRow& row : rows) {
    std::string_view key = row.key;
    SCOPED_TRACE(row.key);
    EXPECT_TRUE(key.starts_with("MainForm_"));
    EXPECT_TRUE(key.ends_with("_Caption") || key.ends_with("_Items") || key.ends_with("_Hint"));
    EXPECT_TRUE(keys.insert(key).second) << "duplicate key";
    EXPECT_EQ(FindTranslation(key), &row);
  }
  EXPECT_EQ(rows.front().key, std::string_view("MainForm_SpeedButtonUpdate_Hint"));
  EXPECT_EQ(rows.back().key, std::string_view("MainForm_EventDelNotUsed_MUX410_Caption"));
}

struct ShippedItems {
  std::vector<std::string> russian, english;
};

// list_items.txt: a key line, then "<index> TAB <Russian> TAB <English>" for each item.
std::map<std::string, ShippedItems> ReadShippedLists() {
  std::map<std::string, ShippedItems> lists;
  std::ifstream shipped(QVR_LIST_ITEMS);
  EXPECT_TRUE(shipped) << QVR_LIST_ITEMS;
  ShippedItems* current = nullptr;
  for (std::string line; std::getline(shipped, line);) {
    if (line.empty() || line.starts_with('#')) continue;
    const size_t first = line.find('\t');
    if (first == std::string::npos) {
      current = &lists[line];
      continue;
    }
    const size_t second = line.find('\t', first + 1);
    if (current == nullptr || second == std::string::npos) {
      ADD_FAILURE() << "malformed line: " << line;
      continue;
    }
    EXPECT_EQ(std::stoul(line.substr(0, first)), current->russian.size()) << line;
    current->russian.push_back(line.substr(first + 1, second - first - 1));
    current->english.push_back(line.substr(second + 1));
  }
  return lists;
}

// The index of an item is the value sent to the device, so every list reads item by item as
// shipped in both languages: two items swapped in one language would store the other value.
TEST(TranslationTable, ListRowsHaveTheSameItemCountInBothLanguages) {
  const auto shipped = ReadShippedLists();
  EXPECT_EQ(shipped.size(), 28u);
  int lists = 0;
  for (const TranslationRow& row : TranslationRows()) {
    SCOPED_TRACE(row.key);
    std::string_view russian = row.russian, english = row.english;
    if (!IsListRow(row.key)) {
      EXPECT_EQ(russian.find('\n'), std::string_view::npos);
      EXPECT_EQ(english.find('\n'), std::string_view::npos);
      continue;
    }
    ++lists;
    EXPECT_TRUE(russian.ends_with("\r\n"));
    EXPECT_TRUE(english.ends_with("\r\n"));
    auto russian_items = TranslationItems(row.key, kRussian);
    auto english_items = TranslationItems(row.key, kEnglish);
    EXPECT_GE(english_items.size(), 2u);
    EXPECT_EQ(russian_items.size(), english_items.size());
    const auto expected = shipped.find(row.key);
    if (expected == shipped.end()) {
      ADD_FAILURE() << "a list without its shipped items";
    } else {
      EXPECT_EQ(russian_items, expected->second.russian);
      EXPECT_EQ(english_items, expected->second.english);
    }
    for (const std::string& item : russian_items) EXPECT_EQ(item.find('\r'), std::string::npos);
    // An item's index is the value stored: an item that reads the same in both languages (a
    // model name, a number) stands at the same index in both, or the two languages would show
    // one choice and store another.
    for (size_t i = 0; i < russian_items.size(); ++i) {
      for (size_t j = 0; j < english_items.size(); ++j) {
        if (russian_items[i] == english_items[j]) {
          EXPECT_EQ(i, j) << russian_items[i];
        }
      }
    }
  }
  EXPECT_EQ(lists, 28);  // 23 combo boxes, 2 check list boxes, 3 radio groups
}

TEST(TranslationTable, ComponentsNamedWithTrailingXHaveNoRow) {
  EXPECT_EQ(FindTranslation("MainForm_SpeedButtonGetEvent_MUX410x_Hint"), nullptr);
  EXPECT_EQ(FindTranslation("MainForm_TabSheetMUX410x_Caption"), nullptr);
  EXPECT_EQ(FindTranslation("MainForm_MenuItemLanguageEnglishx_Caption"), nullptr);
  // Even a row written for such a component is never found.
  const TranslationRow rows[] = {{"MainForm_SpeedButtonL_MUX410x_Hint", "ru", "en"},
                                 {"MainForm_SpeedButtonL_MUX410_Hint", "ru", "en"}};
  EXPECT_EQ(FindTranslationIn(rows, rows[0].key), nullptr);
  EXPECT_EQ(FindTranslationIn(rows, rows[1].key), &rows[1]);
  // Only the component name counts: an "x" elsewhere does not hide a row.
  EXPECT_NE(FindTranslation("MainForm_CheckBoxTPX_MUX410_Caption"), nullptr);
  EXPECT_NE(FindTranslation("MainForm_CheckListBoxSkipInput_MUX410_Caption"), nullptr);
}

TEST(TranslationTable, LookupIsExactAndCaseSensitive) {
  EXPECT_EQ(FindTranslation("MainForm_MenuItemLanguage_caption"), nullptr);
  EXPECT_EQ(FindTranslation("MainForm_MenuItemLanguage"), nullptr);
  EXPECT_EQ(FindTranslation(""), nullptr);
  EXPECT_EQ(TranslationText("MainForm_Nothing_Caption", kEnglish), "");
  EXPECT_TRUE(TranslationItems("MainForm_Nothing_Caption", kEnglish).empty());
  EXPECT_EQ(TranslationText("MainForm_MenuItemLanguage_Caption", kEnglish), "Language/Язык");
  EXPECT_EQ(TranslationText("MainForm_MenuItemLanguage_Caption", kRussian), "Язык/Language");
}

TEST(TranslationTable, RunTimeRussianTextsReplaceTheDesignTimeOnes) {
  EXPECT_EQ(TranslationText("MainForm_CheckBoxCIR_MUX410_Hint", kRussian),
            "Выдавать ИК коды через SWIM");
  EXPECT_EQ(TranslationText("MainForm_CheckBoxAllTouch_MUX410_Caption", kRussian),
            "Перехват всех нажатий");
  EXPECT_EQ(TranslationText("MainForm_PanelSkipInput_MUX410_Caption", kRussian),
            "Пропускаемые входы ");

  // The MUX-410 reaction list relies on item 10 being the source selection.
  auto mux_ru = TranslationItems("MainForm_ComboBoxIRTypeEvent_MUX410_Caption", kRussian);
  auto mux_en = TranslationItems("MainForm_ComboBoxIRTypeEvent_MUX410_Caption", kEnglish);
  ASSERT_EQ(mux_ru.size(), 11u);
  EXPECT_EQ(mux_ru.front(), "Не указано");
  EXPECT_EQ(mux_ru[10], "Переключение источников");
  EXPECT_EQ(mux_en[10], "Source selection");
  auto tpx_ru = TranslationItems("MainForm_ComboBoxIRTypeEvent_TPX520_Caption", kRussian);
  ASSERT_EQ(tpx_ru.size(), 10u);
  EXPECT_EQ(tpx_ru.front(), "Неизвестно");
  EXPECT_EQ(tpx_ru.back(), "SHARP");

  EXPECT_EQ(TranslationText("MainForm_ComboBoxOutPulseMode_TPX520_Caption", kRussian),
            "-_- Импульсный прямой OK\r\n_-_ Импульсный инверсный OK\r\n"
            "-_ Уровневый прямой OK\r\n_- Уровневый инверсный OK\r\n");
  auto zones = TranslationItems("MainForm_ComboBoxZoneEvent_TPX520_Caption", kRussian);
  ASSERT_EQ(zones.size(), 11u);
  EXPECT_EQ(zones.front(), "Не указано");
  // The MUX-410 switch modes keep the design's double blanks.
  EXPECT_EQ(TranslationItems("MainForm_ComboBoxGVIFMode_MUX410_Caption", kRussian)[2],
            "-_ Уровневый  прямой открытый коллектор");
}

}  // namespace
}  // namespace qvr
