#include "detection/win/MsiSearches.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/SearchTestSupport.h"
#include "support/WinTestSupport.h"

using namespace cv;
using cvtest::RunSearch;
using cvtest::Search;

namespace {

// The packages the build makes with wixl (see cmake/windows.cmake): two
// products that share an upgrade code. Wine cannot advertise a product
// (measured: msiexec /jm answers 120; /i with ADVERTISE=ALL exits 0 but
// registers neither the product nor its component), so the advertised state
// is not reached here.
const wchar_t kOldProduct[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0001}";
const wchar_t kNewProduct[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0002}";
const wchar_t kUpgradeCode[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00AA}";
const wchar_t kOldComponent[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00C1}";
const wchar_t kAbsentComponent[] = L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00C9}";

std::wstring Package(const wchar_t* name) { return cvtest::BuiltProgram(std::wstring(name) + L".msi"); }

// Removes the products at the end of the test, whatever happened in it.
struct ProductsRemoved {
  ~ProductsRemoved() {
    for (const wchar_t* product : {kOldProduct, kNewProduct}) cvtest::Msiexec(std::wstring(L"/x ") + product);
  }
};

std::vector<std::wstring> Sorted(std::vector<std::wstring> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

}  // namespace

// One test, among the integration tests: the products are the machine's, and
// those take turns.
TEST(MsiSearches, ProductsRelatedProductsAndComponents) {
  ProductsRemoved removed;
  EXPECT_TRUE(RunSearch(Search(kMsiRelatedProductVersions, kUpgradeCode), false).foundTexts.empty());
  ASSERT_EQ(cvtest::Msiexec(L"/i \"" + Package(L"search-old") + L"\""), 0u);
  ASSERT_EQ(cvtest::Msiexec(L"/i \"" + Package(L"search-new") + L"\""), 0u);

  // Product versions by product code.
  EXPECT_EQ(RunSearch(Search(kMsiProductVersion, kOldProduct), false).foundTexts,
            std::vector<std::wstring>{L"2.5.7"});
  EXPECT_TRUE(RunSearch(Search(kMsiProductVersion, kNewProduct, L"", L"3.1", L"3.1"), false).answer);
  EXPECT_FALSE(RunSearch(Search(kMsiProductVersion, kOldProduct, L"", L"3"), false).answer);
  EXPECT_TRUE(RunSearch(Search(kMsiProductVersion, L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F0009}"), false).foundTexts.empty());
  EXPECT_TRUE(RunSearch(Search(kMsiProductVersion, L"not a code"), false).foundTexts.empty());

  // Every product that shares the upgrade code.
  SearchRecord record = RunSearch(Search(kMsiRelatedProductVersions, kUpgradeCode, L"", L"3"), false);
  EXPECT_EQ(Sorted(record.foundTexts), (std::vector<std::wstring>{L"2.5.7", L"3.1"}));
  EXPECT_TRUE(record.answer);  // one of them is 3 or later
  EXPECT_FALSE(RunSearch(Search(kMsiRelatedProductVersions, kUpgradeCode, L"", L"3.2"), false).answer);
  EXPECT_TRUE(RunSearch(Search(kMsiRelatedProductVersions, L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00AF}"), false)
                  .foundTexts.empty());

  // Components installed locally; an absent one.
  EXPECT_TRUE(RunSearch(Search(kMsiComponentInstalled, kOldComponent), false).answer);
  EXPECT_FALSE(RunSearch(Search(kMsiComponentInstalled, kAbsentComponent), false).answer);
  EXPECT_FALSE(RunSearch(Search(kMsiComponentInstalled, L""), false).answer);
  EXPECT_TRUE(RunSearch(Search(kMsiComponentInstalled, L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00C2}"), false).answer);
  // Removed again: no longer installed.
  ASSERT_EQ(cvtest::Msiexec(std::wstring(L"/x ") + kNewProduct), 0u);
  EXPECT_FALSE(RunSearch(Search(kMsiComponentInstalled, L"{6C1D0A52-3B0E-4E55-9C1B-5E0A7D3F00C2}"), false).answer);
  EXPECT_TRUE(RunSearch(Search(kMsiRelatedProductVersions, kUpgradeCode, L"", L"3"), false).foundTexts.size() < 2);
  // Wine forgets the whole upgrade code when one of its products is removed
  // (measured: the list is then empty); Windows would still list 2.5.7.
  EXPECT_EQ(RunSearch(Search(kMsiProductVersion, kOldProduct), false).foundTexts, std::vector<std::wstring>{L"2.5.7"});
}
