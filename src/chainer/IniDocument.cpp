#include "chainer/IniDocument.h"

#include "platform/core/Text.h"

namespace cv {

namespace {

bool IsBlankOrControl(wchar_t c) { return static_cast<uint32_t>(c) <= 32; }

void ParseLine(const std::wstring& line, IniDocument& document, IniDocument::Section*& current) {
  size_t begin = 0;
  while (begin < line.size() && IsBlankOrControl(line[begin])) ++begin;
  if (begin < line.size() && line[begin] == L'[') {
    size_t end = line.size();
    while (end > begin && IsBlankOrControl(line[end - 1])) --end;
    if (line[end - 1] == L']' && end - 1 > begin) {
      current = &document.AddSection(line.substr(begin + 1, end - begin - 2));
      return;
    }
  }
  if (current == nullptr) return;
  size_t equals = line.find(L'=');
  if (equals == std::wstring::npos) return;
  current->Append({TrimWhiteSpace(line.substr(0, equals)), TrimWhiteSpace(line.substr(equals + 1))});
}

}  // namespace

void IniDocument::Parse(const std::wstring& text) {
  sections_.clear();
  firstSection_.clear();
  Section* current = nullptr;
  size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    start = end == std::wstring::npos ? text.size() : end + 2;
    if (first && !line.empty() && line[0] == 0xFEFF) line.erase(0, 1);
    first = false;
    if (line.empty()) continue;
    ParseLine(line, *this, current);
  }
}

void IniDocument::Section::Append(Pair pair) {
  firstPair.emplace(pair.key, pairs.size());  // keeps an earlier position
  pairs.push_back(std::move(pair));
}

const IniDocument::Section* IniDocument::FindSection(const std::wstring& name) const {
  auto found = firstSection_.find(name);
  return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

const IniDocument::Pair* IniDocument::FindKey(const Section& section, const std::wstring& key) {
  auto found = section.firstPair.find(key);
  return found == section.firstPair.end() ? nullptr : &section.pairs[found->second];
}

IniDocument::Section& IniDocument::AddSection(const std::wstring& name) {
  firstSection_.emplace(name, sections_.size());
  sections_.push_back({name, {}, {}});
  return sections_.back();
}

bool IniDocument::GetValue(const std::wstring& section, const std::wstring& key, std::wstring& value) const {
  const Section* found = FindSection(section);
  const Pair* pair = found ? FindKey(*found, key) : nullptr;
  if (pair == nullptr) return false;
  value = pair->value;
  return true;
}

void IniDocument::GetSectionNames(std::vector<std::wstring>& names) const {
  names.clear();
  for (const Section& section : sections_) names.push_back(section.name);
}

void IniDocument::SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  auto found = firstSection_.find(section);
  Section& target = found != firstSection_.end() ? sections_[found->second] : AddSection(section);
  target.Append({key, value});
}

}  // namespace cv
