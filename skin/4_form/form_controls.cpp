#include "skin/4_form/form_controls.h"

#include <algorithm>

#include "gui/control.h"
#include "gui/forms.h"
#include "skin/3_controls/control_dispatch.h"
#include "skin/3_controls/skin_control.h"
#include "skin/4_form/win_skin_form.h"

namespace qm {

gui::TComponent* TFormControls::LinkComponent() { return &FForm; }

HWND TFormControls::SkinnedWindow() const { return FForm.FHandle; }

const std::shared_ptr<const TLoadedSkin>& TFormControls::Skin() const { return FForm.Skin(); }

bool TFormControls::AddControl(TSkinControl* Skinner) {
  if (std::find(FControls.begin(), FControls.end(), Skinner) != FControls.end()) return true;
  FControls.push_back(Skinner);
  return false;
}

void TFormControls::RemoveControl(TSkinControl* Skinner) {
  if (FHotButton == Skinner) FHotButton = nullptr;
  auto last = std::find(FControls.rbegin(), FControls.rend(), Skinner);
  if (last != FControls.rend()) FControls.erase(std::next(last).base());
}

void TFormControls::SweepControls() {
  for (size_t i = FControls.size(); i-- > 0;)
    if (i < FControls.size() && FControls[i]->State == TSkinControl::stDead) FControls[i]->Free();
}

void TFormControls::SkinAll() {
  TControlDispatch dispatch(*this, *FForm.SkinData());
  if (gui::TCustomForm* form = FForm.Form())
    dispatch.SkinComponents(form);
  else
    dispatch.SkinChildWindows();
}

void TFormControls::SkinChildWindow(HWND Child) {
  if (TSkinData* data = FForm.SkinData()) TControlDispatch(*this, *data).SkinChildWindow(Child);
}

void TFormControls::FreeAll() {
  while (!FControls.empty()) {
    TSkinControl* skinner = FControls.front();
    if (skinner->State != TSkinControl::stDead) skinner->RestoreControl();
    FControls.erase(FControls.begin());
    skinner->Free();
  }
  FHotButton = nullptr;
}

void TFormControls::SkinChanged() {
  for (TSkinControl* skinner : std::vector<TSkinControl*>(FControls)) skinner->SkinChanged();
}

void TFormControls::ReleaseHotButton() {
  if (!FHotButton) return;
  const HWND button = FHotButton->Handle;
  FHotButton = nullptr;
  SendMessageW(button, gui::CM_MOUSELEAVE, 0, 0);
}

void TFormControls::ReleaseHotButtonIfLeft(POINT Cursor) {
  if (!FHotButton) return;
  RECT r{};
  if (!GetWindowRect(FHotButton->Handle, &r) || !PtInRect(&r, Cursor)) ReleaseHotButton();
}

}  // namespace qm
