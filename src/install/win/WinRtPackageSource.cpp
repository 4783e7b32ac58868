#include "install/win/WinRtPackageSource.h"

#include <windows.h>
#include <hstring.h>
#include <inspectable.h>

#include "platform/core/win/Handles.h"
#include "platform/core/win/SystemLibrary.h"

namespace cv {

namespace {

// The cross compiler has no headers for these; only the slots used are
// named, the others keep the vtable in order.
struct PackageVersionValue {
  UINT16 major, minor, build, revision;
};

struct IPackageIdAbi : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Name(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Version(PackageVersionValue* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Architecture(INT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ResourceId(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Publisher(HSTRING* value) = 0;
};

struct IPackageAbi : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Id(IPackageIdAbi** value) = 0;
};

// IIterator<Package>
struct IPackageIteratorAbi : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Current(IPackageAbi** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HasCurrent(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveNext(boolean* value) = 0;
};

// IIterable<Package>
struct IPackageIterableAbi : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE First(IPackageIteratorAbi** value) = 0;
};

struct IPackageManagerAbi : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE AddPackageAsync() = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdatePackageAsync() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemovePackageAsync() = 0;
  virtual HRESULT STDMETHODCALLTYPE StagePackageAsync() = 0;
  virtual HRESULT STDMETHODCALLTYPE RegisterPackageAsync() = 0;
  virtual HRESULT STDMETHODCALLTYPE FindPackages() = 0;
  virtual HRESULT STDMETHODCALLTYPE FindPackagesByUserSecurityId(HSTRING userSecurityId,
                                                                 IPackageIterableAbi** packages) = 0;
};

// Windows.Management.Deployment.IPackageManager
constexpr GUID kIidPackageManager = {0x9a7d4b65, 0x5e8f, 0x4fc7, {0xa2, 0xe5, 0x7f, 0x69, 0x25, 0xcb, 0x8b, 0x53}};

template <typename T>
struct ComReleaseTraits {
  static T* Invalid() { return nullptr; }
  static void Close(T* p) { p->Release(); }
};
template <typename T>
using ComPointer = UniqueResource<T*, ComReleaseTraits<T>>;

struct RuntimeFunctions {
  HRESULT(WINAPI* activateInstance)(HSTRING, IInspectable**) = nullptr;
  HRESULT(WINAPI* createString)(const WCHAR*, UINT32, HSTRING*) = nullptr;
  HRESULT(WINAPI* deleteString)(HSTRING) = nullptr;
  const WCHAR*(WINAPI* rawBuffer)(HSTRING, UINT32*) = nullptr;
  bool complete() const { return activateInstance && createString && deleteString && rawBuffer; }
};

// combase.dll on Windows 8 and later; the API sets as a second way in.
const RuntimeFunctions& Runtime() {
  static const RuntimeFunctions functions = [] {
    RuntimeFunctions f;
    HMODULE combase = LoadSystemLibrary(L"combase.dll").release();
    HMODULE core = combase ? combase : LoadSystemLibrary(L"api-ms-win-core-winrt-l1-1-0.dll").release();
    HMODULE strings = combase ? combase : LoadSystemLibrary(L"api-ms-win-core-winrt-string-l1-1-0.dll").release();
    f.activateInstance = FindFunction<decltype(f.activateInstance)>(core, "RoActivateInstance");
    f.createString = FindFunction<decltype(f.createString)>(strings, "WindowsCreateString");
    f.deleteString = FindFunction<decltype(f.deleteString)>(strings, "WindowsDeleteString");
    f.rawBuffer = FindFunction<decltype(f.rawBuffer)>(strings, "WindowsGetStringRawBuffer");
    return f;
  }();
  return functions;
}

// An owned HSTRING.
class RuntimeString {
 public:
  RuntimeString() = default;
  ~RuntimeString() {
    if (value_) Runtime().deleteString(value_);
  }
  RuntimeString(const RuntimeString&) = delete;
  RuntimeString& operator=(const RuntimeString&) = delete;
  HSTRING get() const { return value_; }
  HSTRING* put() { return &value_; }
  std::wstring Text() const {
    UINT32 length = 0;
    const WCHAR* buffer = value_ ? Runtime().rawBuffer(value_, &length) : nullptr;
    return buffer ? std::wstring(buffer, length) : std::wstring();
  }

 private:
  HSTRING value_ = nullptr;
};

HRESULT ReadIdentity(IPackageAbi* package, AppxPackageIdentity& identity) {
  ComPointer<IPackageIdAbi> id;
  HRESULT hr = package->get_Id(id.put());
  if (FAILED(hr)) return hr;
  RuntimeString name, publisher;
  PackageVersionValue version{};
  INT32 architecture = -1;
  if (FAILED(hr = id.get()->get_Name(name.put())) || FAILED(hr = id.get()->get_Publisher(publisher.put())) ||
      FAILED(hr = id.get()->get_Architecture(&architecture)) || FAILED(hr = id.get()->get_Version(&version)))
    return hr;
  identity.name = name.Text();
  identity.publisher = publisher.Text();
  identity.architecture = architecture;
  identity.major = version.major;
  identity.minor = version.minor;
  identity.build = version.build;
  identity.revision = version.revision;
  return S_OK;
}

}  // namespace

int32_t WinRtPackageSource::VisitUserPackages(const std::function<bool(const AppxPackageIdentity&)>& visit) {
  const RuntimeFunctions& runtime = Runtime();
  if (!runtime.complete()) return static_cast<int32_t>(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
  static const wchar_t kClass[] = L"Windows.Management.Deployment.PackageManager";
  RuntimeString className;
  HRESULT hr = runtime.createString(kClass, static_cast<UINT32>(wcslen(kClass)), className.put());
  if (FAILED(hr)) return hr;
  ComPointer<IInspectable> instance;
  if (FAILED(hr = runtime.activateInstance(className.get(), instance.put()))) return hr;
  ComPointer<IPackageManagerAbi> manager;
  if (FAILED(hr = instance.get()->QueryInterface(kIidPackageManager, reinterpret_cast<void**>(manager.put()))))
    return hr;
  // An empty security identifier means the current user.
  ComPointer<IPackageIterableAbi> packages;
  if (FAILED(hr = manager.get()->FindPackagesByUserSecurityId(nullptr, packages.put()))) return hr;
  ComPointer<IPackageIteratorAbi> iterator;
  if (FAILED(hr = packages.get()->First(iterator.put()))) return hr;
  boolean hasCurrent = false;
  if (FAILED(hr = iterator.get()->get_HasCurrent(&hasCurrent))) return hr;
  while (hasCurrent) {
    ComPointer<IPackageAbi> package;
    if (FAILED(hr = iterator.get()->get_Current(package.put()))) return hr;
    AppxPackageIdentity identity;
    if (FAILED(hr = ReadIdentity(package.get(), identity))) return hr;
    if (!visit(identity)) return S_OK;
    if (FAILED(hr = iterator.get()->MoveNext(&hasCurrent))) return hr;
  }
  return S_OK;
}

}  // namespace cv
