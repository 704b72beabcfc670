#include "web_links.h"

#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>

#include "wide_text.h"

namespace qm {

namespace {

// COM is set up for as long as one request needs it, unless the thread had
// already chosen otherwise (then it is used as it is).
class TComScope {
 public:
  TComScope() : FResult(CoInitialize(nullptr)) {}
  ~TComScope() {
    if (SUCCEEDED(FResult)) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  HRESULT FResult;
};

class TDispatchRef {
 public:
  TDispatchRef() = default;
  ~TDispatchRef() {
    if (FObject != nullptr) FObject->Release();
  }
  TDispatchRef(const TDispatchRef&) = delete;
  TDispatchRef& operator=(const TDispatchRef&) = delete;
  IDispatch** Out() { return &FObject; }
  IDispatch* operator->() const { return FObject; }

 private:
  IDispatch* FObject = nullptr;
};

class TBstr {
 public:
  explicit TBstr(const std::wstring& text) : FText(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~TBstr() { SysFreeString(FText); }
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  BSTR Get() const { return FText; }

 private:
  BSTR FText;
};

void Check(HRESULT code, const char* step) {
  if (FAILED(code)) throw EAutomationError(step, code);
}

DISPID MemberId(IDispatch* object, const wchar_t* name, const char* step) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  Check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), step);
  return id;
}

}  // namespace

EAutomationError::EAutomationError(const std::string& step, HRESULT code)
    : std::runtime_error(step + "：" + SystemErrorText(code)), FCode(code) {}

std::string SystemErrorText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
  return text.empty() ? std::string("错误代码 ") + hex : Utf8FromWide(text) + " (" + hex + ")";
}

void OpenInBrowser(const std::wstring& url) {
  TComScope com;
  CLSID browserClass;
  Check(CLSIDFromProgID(L"InternetExplorer.Application", &browserClass), "找不到浏览器对象 InternetExplorer.Application");
  TDispatchRef browser;
  Check(CoCreateInstance(browserClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(browser.Out())),
        "不能创建浏览器对象 InternetExplorer.Application");

  TBstr address(url);
  VARIANTARG argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = address.Get();
  DISPPARAMS navigateArgs = {&argument, nullptr, 1, 0};
  const DISPID navigate = MemberId(browser.operator->(), L"Navigate", "浏览器对象没有 Navigate 方法");
  Check(browser->Invoke(navigate, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &navigateArgs, nullptr, nullptr,
                        nullptr),
        "浏览器不能打开网页");

  VARIANTARG visible;
  VariantInit(&visible);
  visible.vt = VT_BOOL;
  visible.boolVal = VARIANT_TRUE;
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS visibleArgs = {&visible, &putId, 1, 1};
  const DISPID visibleId = MemberId(browser.operator->(), L"Visible", "浏览器对象没有 Visible 属性");
  Check(browser->Invoke(visibleId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &visibleArgs, nullptr,
                        nullptr, nullptr),
        "浏览器窗口不能显示");
}

bool OpenMail(HWND window, const std::wstring& address) {
  const std::wstring target = L"mailto:" + address;
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(window, nullptr, target.c_str(), nullptr, nullptr,
                                                              SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace qm
