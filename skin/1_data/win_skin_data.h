#pragma once
// TSkinData: the skin engine's root component. One is placed on the main
// form; its stored values (the packed skin among them) are read when the
// form is created, and it switches skinning on and off through the skin
// manager. The skinners read their settings, element descriptions, colours
// and glyphs from it.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "gui/component.h"
#include "gui/control.h"
#include "gui/graphics.h"
#include "skin/1_data/loaded_skin.h"
#include "skin/1_data/skin_data_core.h"

namespace qm {

class TSkinData;

using TOnFormSkin = std::function<void(gui::TComponent* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(gui::TComponent* Sender, TSkinData* SkinData, gui::TControl* Form,
                                          gui::TControl* Control, const std::string& ControlClass,
                                          gui::TComponent*& SkinnedControl)>;
using TNotifyEvent = std::function<void(gui::TComponent* Sender)>;

class TSkinData : public gui::TComponent, public TSkinDataCore {
  QM_GUI_CLASS(TSkinData, gui::TComponent)
 public:
  explicit TSkinData(gui::TComponent* Owner);
  ~TSkinData() override;

  void SetActive(bool Value) override;
  void SetSkinFile(const std::string& Value) override;

  // After the owner form has been read: registers with the skin manager
  // (making it first if need be) and asks for skinning as Active says.
  virtual void Loaded();
  // Asks the manager to re-skin every window with the newly loaded skin.
  void ApplySkin();
  // The window-class gate the manager consults; OnFormSkin, when assigned,
  // decides alone.
  void DoFormSkin(const std::string& aName, bool& DoSkin);
  // Fired by the manager after it carried out a request for this component.
  void DoSkinChanged();

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // Glyphs for the skinned system menu: restore, maximise, minimise, close.
  std::unique_ptr<gui::TImageList> MenuImages;
  // Filled by the caption buttons with the first window icon they meet.
  std::unique_ptr<gui::TBitmap> DefaultIcon;

  // The skin of the last load that succeeded, with its bitmaps and face
  // brush; null before the first. A skinner takes it when it attaches and
  // again when the manager re-applies a changed skin, and paints only from
  // the one it holds.
  std::shared_ptr<const TLoadedSkin> Skin() const {
    // Every skin this component publishes is made by its ParseSkin.
    return std::static_pointer_cast<const TLoadedSkin>(TSkinDataCore::Skin());
  }

  // The published set SkinControls as text, e.g. "[xcMainMenu,xcTab]".
  static std::string SkinControlsText(TSkinControlTypes Controls);
  static bool SkinControlsFromText(const std::string& Text, TSkinControlTypes& Controls);

 protected:
  std::shared_ptr<const TSkinDescription> ParseSkin(TMemoryStream& Packed) const override;
  void UseSkin(std::shared_ptr<const TLoadedSkin> Skin) { TSkinDataCore::UseSkin(std::move(Skin)); }

 private:
  void PublishProperties();
};

// Reads a component's stored values from an RCDATA resource of the program
// (e.g. the main form's "MAINFORM_SKINDATA1"); the component counts as being
// read until its Loaded runs. Throws when the resource is missing or damaged.
void ReadStoredValuesFromResource(TSkinData& SkinData, HINSTANCE Instance, const wchar_t* ResourceName);

}  // namespace qm
