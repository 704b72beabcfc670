#include "dialogs.h"

#include <vector>

#include "graphics.h"

namespace gui {

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {
  PublishText("Filter", [this] { return Filter; }, [this](const std::string& v) { Filter = v; });
  PublishText("FileName", [this] { return FileName; }, [this](const std::string& v) { FileName = v; });
}

bool TOpenDialog::Execute(HWND owner) {
  std::wstring filter = Widen(Filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  const std::wstring title = Widen(Title), initialDir = Widen(InitialDir), defExt = Widen(DefaultExt);
  std::vector<wchar_t> buffer(32768, L'\0');

  auto run = [&](const std::wstring& initial) {
    std::fill(buffer.begin(), buffer.end(), L'\0');
    initial.copy(buffer.data(), std::min(initial.size(), buffer.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner ? owner : GetActiveWindow();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : defExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | ExtraFlags();
    const bool ok = Show(ofn);
    if (ok) FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return ok;
  };

  if (run(Widen(FileName))) {
    FileName = Narrow(buffer.data());
    return true;
  }
  // A start name the dialog refuses (bad characters, too long) would make
  // the button do nothing at all; offer the dialog without it instead.
  if (CommDlgExtendedError() == FNERR_INVALIDFILENAME && run(std::wstring())) {
    FileName = Narrow(buffer.data());
    return true;
  }
  return false;
}

}  // namespace gui
