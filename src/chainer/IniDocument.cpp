#include "chainer/IniDocument.h"

#include <algorithm>

#include "platform/core/Text.h"

namespace cv {

namespace {

bool IsBlankOrControl(wchar_t c) { return static_cast<uint32_t>(c) <= 32; }

void ParseLine(const std::wstring& line, std::vector<IniDocument::Section>& sections, IniDocument::Section*& current) {
  size_t begin = 0;
  while (begin < line.size() && IsBlankOrControl(line[begin])) ++begin;
  if (begin < line.size() && line[begin] == L'[') {
    size_t end = line.size();
    while (end > begin && IsBlankOrControl(line[end - 1])) --end;
    if (line[end - 1] == L']' && end - 1 > begin) {
      sections.push_back({line.substr(begin + 1, end - begin - 2), {}});
      current = &sections.back();
      return;
    }
  }
  if (current == nullptr) return;
  size_t equals = line.find(L'=');
  if (equals == std::wstring::npos) return;
  current->pairs.push_back({TrimWhiteSpace(line.substr(0, equals)), TrimWhiteSpace(line.substr(equals + 1))});
}

}  // namespace

void IniDocument::Parse(const std::wstring& text) {
  sections_.clear();
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
    ParseLine(line, sections_, current);
  }
}

const IniDocument::Section* IniDocument::FindSection(const std::wstring& name) const {
  for (const Section& section : sections_)
    if (section.name == name) return &section;
  return nullptr;
}

const IniDocument::Pair* IniDocument::FindKey(const Section& section, const std::wstring& key) {
  for (const Pair& pair : section.pairs)
    if (pair.key == key) return &pair;
  return nullptr;
}

IniDocument::Section& IniDocument::AddSection(const std::wstring& name) {
  sections_.push_back({name, {}});
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
  auto found = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) { return s.name == section; });
  Section& target = found != sections_.end() ? *found : AddSection(section);
  target.pairs.push_back({key, value});
}

}  // namespace cv
