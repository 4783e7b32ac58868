#include "chainer/IniDocument.h"

#include <gtest/gtest.h>

using namespace cv;

namespace {

std::wstring Value(const IniDocument& doc, const std::wstring& section, const std::wstring& key) {
  std::wstring value = L"<absent>";
  doc.GetValue(section, key, value);
  return value;
}

}  // namespace

TEST(IniDocument, PairsAreTrimmedAndSplitAtTheFirstEquals) {
  IniDocument doc;
  doc.Parse(L"[GeneralOptions]\r\nOptions  = q \r\n;comment=kept\r\nempty=\r\n=novalue\r\nurl=a=b=c\r\n"
            L"\t key\x3000=\x00A0value\x2029\r\nno equals here\r\n");
  EXPECT_EQ(Value(doc, L"GeneralOptions", L"Options"), L"q");
  EXPECT_EQ(Value(doc, L"GeneralOptions", L";comment"), L"kept");
  EXPECT_EQ(Value(doc, L"GeneralOptions", L"empty"), L"");
  EXPECT_EQ(Value(doc, L"GeneralOptions", L""), L"novalue");
  EXPECT_EQ(Value(doc, L"GeneralOptions", L"url"), L"a=b=c");
  EXPECT_EQ(Value(doc, L"GeneralOptions", L"key"), L"value") << "Unicode white space is trimmed";
  EXPECT_EQ(doc.FindSection(L"GeneralOptions")->pairs.size(), 6u);
}

TEST(IniDocument, HeaderRules) {
  IniDocument doc;
  doc.Parse(L"  [ GeneralOptions ]  \r\na=1\r\n[Named] ; note\r\nb=2\r\n[]\r\nc=3\r\n[x\r\n");
  std::vector<std::wstring> names;
  doc.GetSectionNames(names);
  EXPECT_EQ(names, (std::vector<std::wstring>{L" GeneralOptions ", L""}));
  EXPECT_EQ(doc.FindSection(L"GeneralOptions"), nullptr) << "blanks inside the brackets belong to the name";
  EXPECT_EQ(Value(doc, L" GeneralOptions ", L"b"), L"2") << "a header with trailing text is no header";
  EXPECT_EQ(Value(doc, L"", L"c"), L"3");
}

TEST(IniDocument, LinesEndOnlyAtCrLf) {
  IniDocument doc;
  doc.Parse(L"[A]\nkey=value\r\n[B]\rx=1\r\n[C]\r\nk=a\rb\nc\r\n");
  ASSERT_EQ(doc.Sections().size(), 1u) << "a lone CR or LF does not end a header line";
  EXPECT_EQ(Value(doc, L"C", L"k"), L"a\rb\nc") << "nor a value";
  IniDocument lfOnly;
  lfOnly.Parse(L"[S]\nk=v\n");
  EXPECT_TRUE(lfOnly.Sections().empty());
  IniDocument wrapped;
  wrapped.Parse(L"[S]\nk=v\n]");
  ASSERT_EQ(wrapped.Sections().size(), 1u);
  EXPECT_EQ(wrapped.Sections()[0].name, L"S]\nk=v\n");
}

TEST(IniDocument, ByteOrderMarkAndTextBeforeTheFirstHeader) {
  IniDocument doc;
  doc.Parse(L"\xFEFF[S]\r\nk=v\r\n");
  EXPECT_EQ(Value(doc, L"S", L"k"), L"v");
  IniDocument before;
  before.Parse(L"orphan=1\r\n[S]\r\nk=v");
  EXPECT_EQ(before.FindSection(L"S")->pairs.size(), 1u);
  IniDocument empty;
  empty.Parse(L"");
  EXPECT_TRUE(empty.Sections().empty());
}

TEST(IniDocument, FirstMatchWinsForSectionsKeysAndSetValue) {
  IniDocument doc;
  doc.Parse(L"[S]\r\nk=first\r\nk=second\r\n[S]\r\nonly=second section\r\n");
  EXPECT_EQ(Value(doc, L"S", L"k"), L"first");
  EXPECT_EQ(Value(doc, L"S", L"only"), L"<absent>");
  doc.SetValue(L"S", L"k", L"third");
  EXPECT_EQ(Value(doc, L"S", L"k"), L"first");
  doc.SetValue(L"New", L"n", L"1");
  EXPECT_EQ(Value(doc, L"New", L"n"), L"1");
  EXPECT_EQ(Value(doc, L"s", L"k"), L"<absent>") << "lookups are case-sensitive";
}

TEST(IniDocument, ParseReplacesEarlierContent) {
  IniDocument doc;
  doc.Parse(L"[A]\r\na=1\r\n");
  doc.Parse(L"[B]\r\nb=2\r\n");
  EXPECT_EQ(doc.FindSection(L"A"), nullptr);
  EXPECT_EQ(Value(doc, L"B", L"b"), L"2");
}
