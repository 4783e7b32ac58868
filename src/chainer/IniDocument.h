// In-memory INI document: ordered sections of ordered key/value pairs.
// Lookups are exact (case-sensitive) and the first match wins.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

namespace cv {

class IniDocument {
 public:
  struct Pair {
    std::wstring key;
    std::wstring value;
  };
  struct Section {
    std::wstring name;
    std::vector<Pair> pairs;
    // Where each key first appears, so that lookups stay fast in huge files.
    std::unordered_map<std::wstring, size_t> firstPair;

    void Append(Pair pair);
  };

  // Replaces the whole content by what the text describes. Lines end at CR LF
  // only; lines that are neither a header nor a pair are ignored.
  void Parse(const std::wstring& text);

  const Section* FindSection(const std::wstring& name) const;
  static const Pair* FindKey(const Section& section, const std::wstring& key);
  Section& AddSection(const std::wstring& name);
  const std::vector<Section>& Sections() const { return sections_; }

  bool GetValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const;
  void GetSectionNames(std::vector<std::wstring>& names) const;
  // Appends a pair; an earlier pair with the same key keeps being the one found.
  void SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value);

 private:
  std::vector<Section> sections_;
  std::unordered_map<std::wstring, size_t> firstSection_;
};

}  // namespace cv
