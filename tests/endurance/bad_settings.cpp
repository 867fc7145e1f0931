#include "tests/endurance/bad_settings.h"

#include <random>
#include <vector>

namespace endurance {
namespace {

struct OwnedKey {
  const char* section;
  const char* key;
};
const OwnedKey kOwnedKeys[] = {{"GENERAL", "FaceDir"},     {"GENERAL", "UnitButton"},  {"GENERAL", "UnitEnd"},
                               {"GENERAL", "LineColor"},   {"GENERAL", "MoniterColor"}, {"GENERAL", "AlwaysOnTop"},
                               {"GENERAL", "X"},           {"GENERAL", "Y"},            {"MONITOR", "X"},
                               {"MONITOR", "Y"}};

const char* const kExtremeValues[] = {
    "2147483647", "-2147483648", "2147483648", "-2147483649", "4294967295", "4294967296",
    "99999999999999999999999999", "-99999999999999999999", "-0", "+5", "000000000000000000000000001",
    "16777215", "16777216", "-1", "0", "-32768", "65535"};

const char* const kNonNumericValues[] = {"",    "abc",   "0x10", "1e9",   " 12 ", "12abc", "--1", "NaN",
                                         "一二三", "\t",   "=",    "==5",  "[GENERAL]", ";5",  "5;6", "%d%s%n",
                                         "ﾃｽﾄ", "\"7\"", "1.5",  "１２"};

const char* const kFaceDirValues[] = {"..", "..\\..", "C:\\windows", "CON", "missing", "*", "?", "%s%n",
                                      "＜デフォルト＞", "表示", "a\\b", "/", "  spaced  "};

using Random = std::mt19937;

int pick(Random& random, int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

template <typename T, std::size_t N>
const T& pickFrom(Random& random, const T (&items)[N]) {
  return items[pick(random, static_cast<int>(N))];
}

std::string lineEnd(Random& random) {
  static const char* const kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
  return pickFrom(random, kEnds);
}

std::string randomText(Random& random, std::size_t length, bool printable) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    text += printable ? static_cast<char>(0x21 + pick(random, 0x5E)) : static_cast<char>(pick(random, 256));
  }
  return text;
}

// A key the program does not own: never one of its ten names.
std::string foreignKeyName(Random& random) {
  static const char* const kNames[] = {"Foreign", "Extra.Key", "unit button", "X2", "FaceDir_", "ｷｰ", "設定",
                                       "LineColour", "Version", "a b c"};
  return pick(random, 3) == 0 ? std::string("K") + randomText(random, 1 + pick(random, 12), false) : pickFrom(random, kNames);
}

std::string foreignLines(Random& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    std::string key = foreignKeyName(random);
    // Keep the name a name: no section brackets, equals signs or line ends.
    for (char& c : key) {
      if (c == '=' || c == '[' || c == ']' || c == '\r' || c == '\n' || c == '\0' || c == ';') c = '_';
    }
    text += key + "=" + randomText(random, static_cast<std::size_t>(pick(random, 40)), true) + lineEnd(random);
  }
  return text;
}

std::string ownedLine(Random& random, const OwnedKey& owned, const std::string& value) {
  return std::string(owned.key) + "=" + value + lineEnd(random);
}

std::string valueFor(Random& random, const OwnedKey& owned, bool extreme) {
  if (std::string(owned.key) == "FaceDir") return pickFrom(random, kFaceDirValues);
  return extreme ? pickFrom(random, kExtremeValues) : pickFrom(random, kNonNumericValues);
}

// Both sections with every owned key given a value of the kind asked for,
// foreign keys mixed in, and a foreign section.
std::string sectionsWith(Random& random, bool extreme) {
  std::string text;
  for (const char* section : {"GENERAL", "MONITOR"}) {
    text += std::string("[") + section + "]" + lineEnd(random);
    for (const OwnedKey& owned : kOwnedKeys) {
      if (std::string(owned.section) != section) continue;
      text += ownedLine(random, owned, valueFor(random, owned, extreme));
      if (pick(random, 3) == 0) text += foreignLines(random, 1);
    }
  }
  return text + "[Other]" + lineEnd(random) + foreignLines(random, 1 + pick(random, 4));
}

std::string hugeLines(Random& random) {
  const std::size_t huge = 65536 + static_cast<std::size_t>(pick(random, 200000));
  switch (pick(random, 5)) {
    case 0:  // an owned key's huge value
      return "[GENERAL]\r\nFaceDir=" + randomText(random, huge, true) + "\r\nX=5\r\n" + foreignLines(random, 3);
    case 1:
      return "[GENERAL]\r\nLineColor=" + std::string(huge, '9') + "\r\n" + foreignLines(random, 3);
    case 2:  // a huge section name
      return "[" + std::string(huge, 'S') + "]\r\n" + foreignLines(random, 2) + "[GENERAL]\r\nX=1\r\n";
    case 3:  // a huge foreign key name and value
      return "[GENERAL]\r\n" + std::string(huge, 'k') + "=" + randomText(random, huge, true) + "\r\n" +
             foreignLines(random, 2);
    default:  // a huge line of no meaning between the sections
      return "[GENERAL]\r\n" + foreignLines(random, 2) + randomText(random, huge, true) + "\r\n[MONITOR]\r\nY=3\r\n";
  }
}

std::string missingSections(Random& random) {
  switch (pick(random, 4)) {
    case 0:
      return "[MONITOR]\r\nX=10\r\nY=20\r\n" + foreignLines(random, 3);
    case 1:
      return "[GENERAL]\r\nUnitButton=1\r\n" + foreignLines(random, 3);
    case 2:  // the program's keys outside any of its sections
      return "X=1\r\nY=2\r\nFaceDir=x\r\n[Elsewhere]\r\nUnitButton=2\r\n" + foreignLines(random, 3);
    default:
      return "[Other]\r\n" + foreignLines(random, 4);
  }
}

std::string duplicatedSections(Random& random) {
  std::string text;
  static const char* const kSpellings[] = {"[GENERAL]", "[general]", "[General]", "[ GENERAL ]", "[MONITOR]",
                                           "[monitor]"};
  for (int i = 0, n = 2 + pick(random, 4); i < n; ++i) {
    text += std::string(pickFrom(random, kSpellings)) + lineEnd(random);
    for (int k = 0, m = 1 + pick(random, 4); k < m; ++k) {
      const OwnedKey& owned = pickFrom(random, kOwnedKeys);
      text += ownedLine(random, owned, valueFor(random, owned, true));
      text += ownedLine(random, owned, valueFor(random, owned, false));
    }
    text += foreignLines(random, 1 + pick(random, 2));
  }
  return text;
}

std::string foreignKeys(Random& random) {
  std::string text = "; a comment" + lineEnd(random) + "[GENERAL]" + lineEnd(random);
  text += foreignLines(random, 5) + "no equals sign here" + lineEnd(random) + "X=100" + lineEnd(random);
  text += "   Indented = spaced value  " + lineEnd(random) + lineEnd(random);
  text += "[MONITOR]" + lineEnd(random) + foreignLines(random, 3);
  text += "[" + randomText(random, 1 + static_cast<std::size_t>(pick(random, 20)), true) + "]" + lineEnd(random);
  return text + foreignLines(random, 3);
}

}  // namespace

GeneratedFile badSettingsFile(int index) {
  Random random(static_cast<Random::result_type>(20261207 + index));
  switch (index % kSettingsKinds) {
    case 0:
      if ((index / kSettingsKinds) % 2 == 0) {
        return {"random bytes", randomText(random, static_cast<std::size_t>(pick(random, 8192)), false)};
      }
      // Noise between sound lines, which must survive it.
      return {"random bytes", "[GENERAL]\r\nKept=1\r\n" + randomText(random, 1 + static_cast<std::size_t>(pick(random, 4096)), false) +
                                  "\r\n[Mine]\r\nAlsoKept=2\r\n" + randomText(random, static_cast<std::size_t>(pick(random, 64)), false)};
    case 1:
      return {"huge lines", hugeLines(random)};
    case 2:
      return {"extreme values", sectionsWith(random, true)};
    case 3:
      return {"non-numeric values", sectionsWith(random, false)};
    case 4:
      return {"missing sections", missingSections(random)};
    case 5:
      return {"duplicated sections", duplicatedSections(random)};
    default:
      return {"foreign keys", foreignKeys(random)};
  }
}

}  // namespace endurance
