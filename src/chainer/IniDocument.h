// In-memory INI document: ordered sections of ordered key/value pairs.
// Lookups are exact (case-sensitive) and the first match wins.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

namespace cv {

// The operations through which the rest of the program reads the configuration.
class IIniDocument {
 public:
  struct Status {
    bool ok;
    int code;
  };
  virtual ~IIniDocument() = default;
  virtual Status GetStatus() const = 0;
  virtual bool GetValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const = 0;
  virtual void GetSectionNames(std::vector<std::wstring>& names) const = 0;
  virtual void SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
  virtual void Flush() = 0;
};

class IniDocument final : public IIniDocument {
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

  Status GetStatus() const override { return {true, 0}; }
  bool GetValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const override;
  void GetSectionNames(std::vector<std::wstring>& names) const override;
  // Appends a pair; an earlier pair with the same key keeps being the one found.
  void SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
  void Flush() override {}

 private:
  std::vector<Section> sections_;
  std::unordered_map<std::wstring, size_t> firstSection_;
};

}  // namespace cv
