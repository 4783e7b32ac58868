// Which installed AppX package a search means, against a list of packages.
#include "install/AppxPackages.h"

#include <gtest/gtest.h>

#include <vector>

namespace cv {
namespace {

// Packages as a package manager would list them, in its order.
class ListedPackages : public IAppxPackageSource {
 public:
  explicit ListedPackages(std::vector<AppxPackageIdentity> packages, int32_t failure = 0)
      : packages_(std::move(packages)), failure_(failure) {}
  int32_t VisitUserPackages(const std::function<bool(const AppxPackageIdentity&)>& visit) override {
    if (failure_ != 0) return failure_;
    for (const AppxPackageIdentity& package : packages_) {
      ++visited;
      if (!visit(package)) break;
    }
    return 0;
  }
  int visited = 0;

 private:
  std::vector<AppxPackageIdentity> packages_;
  int32_t failure_;
};

TEST(AppxPackages, ArchitectureTexts) {
  const std::pair<int32_t, const wchar_t*> texts[] = {
      {0, L"x86"}, {5, L"arm"}, {9, L"x64"}, {11, L"neutral"}, {12, L"arm64"},
      {6, L""},    {1, L""},    {65535, L""}, {-1, L""},
  };
  for (const auto& [value, text] : texts) EXPECT_EQ(AppxArchitectureText(value), text) << value;
}

TEST(AppxPackages, MatchingRules) {
  AppxPackageIdentity package{L"Contoso.App", L"CN=Contoso", 9, 1, 2, 3, 0};
  AppxPackageIdentity unknownArchitecture{L"Contoso.App", L"CN=Contoso", 6, 1, 0, 0, 0};
  struct Case {
    const AppxPackageIdentity& package;
    const wchar_t *name, *publisher, *architecture;
    bool matches;
  } cases[] = {
      {package, L"Contoso.App", L"", L"", true},
      {package, L"contoso.app", L"", L"", false},  // names are case-sensitive
      {package, L"Contoso", L"", L"", false},
      {package, L"", L"", L"", false},
      {package, L"Contoso.App", L"CN=Contoso", L"", true},
      {package, L"Contoso.App", L"CN=contoso", L"", false},
      {package, L"Contoso.App", L"", L"x64", true},
      {package, L"Contoso.App", L"", L"X64", false},
      {package, L"Contoso.App", L"", L"x86", false},
      {package, L"Contoso.App", L"CN=Contoso", L"x64", true},
      {unknownArchitecture, L"Contoso.App", L"", L"", true},
      {unknownArchitecture, L"Contoso.App", L"", L"neutral", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AppxPackageMatches(c.package, c.name, c.publisher, c.architecture), c.matches)
        << c.name << " " << c.publisher << " " << c.architecture;
  AppxPackageIdentity unnamed{L"", L"", 11};
  EXPECT_TRUE(AppxPackageMatches(unnamed, L"", L"", L""));
}

TEST(AppxPackages, VersionsInShortForm) {
  struct Case {
    uint16_t major, minor, build, revision;
    const wchar_t* text;
  } cases[] = {
      {1, 2, 3, 0, L"1.2.3"}, {2, 0, 0, 0, L"2.0"},         {1, 2, 3, 4, L"1.2.3.4"},
      {0, 0, 0, 0, L"0.0.0.0"}, {14, 0, 65535, 65535, L"14.0"}, {1, 0, 0, 7, L"1.0.0.7"},
  };
  for (const Case& c : cases) {
    AppxPackageIdentity package{L"P", L"", 9, c.major, c.minor, c.build, c.revision};
    EXPECT_EQ(AppxVersionText(package), c.text);
  }
}

TEST(AppxPackages, FirstMatchInListedOrderStopsTheWalk) {
  ListedPackages packages({
      {L"Other", L"CN=A", 9, 9, 9, 9, 9},
      {L"Contoso.App", L"CN=B", 0, 1, 2, 3, 0},
      {L"Contoso.App", L"CN=A", 9, 2, 0, 0, 0},
      {L"Contoso.App", L"CN=A", 11, 3, 0, 0, 0},
  });
  EXPECT_EQ(FindFirstMatchingVersion(packages, L"Contoso.App", L"", L""), L"1.2.3");
  EXPECT_EQ(packages.visited, 2);
  EXPECT_EQ(FindFirstMatchingVersion(packages, L"Contoso.App", L"CN=A", L""), L"2.0");
  EXPECT_EQ(FindFirstMatchingVersion(packages, L"Contoso.App", L"", L"neutral"), L"3.0");
  EXPECT_EQ(FindFirstMatchingVersion(packages, L"Contoso.App", L"CN=B", L"x64"), L"");
  EXPECT_EQ(FindFirstMatchingVersion(packages, L"CONTOSO.APP", L"", L""), L"");

  ListedPackages unavailable({{L"Contoso.App", L"", 9, 1}}, static_cast<int32_t>(0x80040154));
  EXPECT_EQ(FindFirstMatchingVersion(unavailable, L"Contoso.App", L"", L""), L"");
}

}  // namespace
}  // namespace cv
