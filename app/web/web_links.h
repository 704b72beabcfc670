#pragma once
// The home-page links and the mail link: the web browser is driven through
// its automation object, the mail program through the shell.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace qm {

// Raised when the browser's automation object cannot be created or driven.
// what() (UTF-8) names the step that failed and the platform's reason.
class EAutomationError : public std::runtime_error {
 public:
  EAutomationError(const std::string& step, HRESULT code);
  HRESULT Code() const { return FCode; }

 private:
  HRESULT FCode;
};

// Creates "InternetExplorer.Application", navigates it to url, makes it
// visible and lets go of it; the browser window stays open.
void OpenInBrowser(const std::wstring& url);

// Asks the shell to open "mailto:" + address, owned by window. True when the
// shell accepted the request (what the mail program then does is its own).
bool OpenMail(HWND window, const std::wstring& address);

// The platform's text for an HRESULT (UTF-8, no trailing line break), or the
// code in hex when the platform has none.
std::string SystemErrorText(HRESULT code);

}  // namespace qm
