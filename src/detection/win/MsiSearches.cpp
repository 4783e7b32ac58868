#include "detection/win/MsiSearches.h"

#include <windows.h>

#include "platform/core/win/Handles.h"
#include "platform/core/win/SystemLibrary.h"

namespace cv {

namespace {

using GetProductInfoFunction = UINT(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, LPDWORD);
using LocateComponentFunction = int(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
using EnumRelatedProductsFunction = UINT(WINAPI*)(LPCWSTR, DWORD, DWORD, LPWSTR);

constexpr int kInstallStateMoreData = -3;
constexpr int kInstallStateLocal = 3;
constexpr int kInstallStateSource = 4;

// msi.dll is loaded on first use and kept; its exports are taken by ordinal.
struct MsiLibrary {
  UniqueLibrary module;
  GetProductInfoFunction getProductInfo = nullptr;
  LocateComponentFunction locateComponent = nullptr;
  EnumRelatedProductsFunction enumRelatedProducts = nullptr;

  MsiLibrary() : module(LoadSystemLibrary(L"msi.dll")) {
    getProductInfo = FindFunction<GetProductInfoFunction>(module.get(), MAKEINTRESOURCEA(70));
    locateComponent = FindFunction<LocateComponentFunction>(module.get(), MAKEINTRESOURCEA(90));
    enumRelatedProducts = FindFunction<EnumRelatedProductsFunction>(module.get(), MAKEINTRESOURCEA(205));
  }
};

const MsiLibrary& Msi() {
  static const MsiLibrary library;  // one-time initialisation, safe across threads
  return library;
}

void AddProductVersion(const std::wstring& productCode, std::vector<std::wstring>& found) {
  GetProductInfoFunction getProductInfo = Msi().getProductInfo;
  if (!getProductInfo) return;
  wchar_t empty[1] = {};
  DWORD length = 0;
  UINT status = getProductInfo(productCode.c_str(), L"VersionString", empty, &length);
  if (status == ERROR_SUCCESS) {
    found.emplace_back();
    return;
  }
  if (status != ERROR_MORE_DATA) return;
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  length += 1;
  if (getProductInfo(productCode.c_str(), L"VersionString", buffer.data(), &length) != ERROR_SUCCESS) return;
  buffer.resize(length);
  found.push_back(std::move(buffer));
}

}  // namespace

SearchOutcome SearchMsiProductVersion(const std::wstring& productCode) {
  SearchOutcome outcome;
  AddProductVersion(productCode, outcome.foundTexts);
  return outcome;
}

SearchOutcome SearchMsiRelatedProductVersions(const std::wstring& upgradeCode) {
  SearchOutcome outcome;
  EnumRelatedProductsFunction enumRelatedProducts = Msi().enumRelatedProducts;
  if (!enumRelatedProducts) return outcome;
  for (DWORD index = 0;; ++index) {
    wchar_t productCode[39] = {};
    if (enumRelatedProducts(upgradeCode.c_str(), 0, index, productCode) != ERROR_SUCCESS) break;
    AddProductVersion(productCode, outcome.foundTexts);
  }
  return outcome;
}

SearchOutcome SearchMsiComponentInstalled(const std::wstring& componentCode) {
  SearchOutcome outcome;
  LocateComponentFunction locateComponent = Msi().locateComponent;
  if (!locateComponent) return outcome;
  wchar_t empty[1] = {};
  DWORD length = 0;
  int state = locateComponent(componentCode.c_str(), empty, &length);
  if (state == kInstallStateMoreData) {
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    length += 1;
    state = locateComponent(componentCode.c_str(), buffer.data(), &length);
  }
  outcome.found = state == kInstallStateLocal || state == kInstallStateSource;
  return outcome;
}

}  // namespace cv
