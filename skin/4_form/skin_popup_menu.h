#pragma once
// TWinSkinPopMenu: the skinner of one popup-menu window (class "#32768").
// The manager makes one as the window is created; it paints the window's
// three-pixel frame from the skin's MenuBackground and keeps that picture,
// stretched to the whole window, so that the item painter can lay each item
// over the matching piece and frame and items read as one picture.
//
// The window does not say which menu it shows. A popup that has painted its
// frame waits as PendingPopup until the item painter draws the first item of
// a menu and binds that menu's handle to it.
//
// A popup is painted throughout with the skin it was made with, which it
// keeps alive: a skin loaded while it is open waits for the next popup.

#include <windows.h>

#include <memory>

#include "gui/graphics.h"
#include "gui/subclass.h"
#include "skin/4_form/popup_window_skinner.h"

namespace qm {

class TLoadedSkin;

class TWinSkinPopMenu : public TPopupWindowSkinner {
 public:
  TWinSkinPopMenu();
  ~TWinSkinPopMenu() override;

  void Attach(HWND Window, TSkinData* SkinData) override { Attach(Window, SkinData, nullptr); }
  void Attach(HWND Window, TSkinData* SkinData, HMENU Menu);
  void Detach() override;
  HWND Window() const override { return FHandle; }
  HMENU MenuHandle() const override { return FMenuHandle; }
  TSkinData* SkinData() const override { return FSkinData; }
  gui::TBitmap* Background() override { return FBackground.get(); }

  // The popup that painted its frame and does not know its menu yet, or
  // nullptr. The item painter binds the menu of the first item it draws.
  static TWinSkinPopMenu* PendingPopup;
  static void BindPending(HMENU Menu);

 private:
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Whether the skin can draw this popup at all.
  bool CanPaint() const;
  // Whether the menu shown is one whose items the skin draws.
  bool ShowsSkinDrawnMenu() const;
  void RebuildBackground(int Width, int Height);
  void PaintFrame(HDC DC, int Width, int Height);
  LRESULT Print(HDC DC, LPARAM Flags);

  gui::TWindowSubclass FSubclass;
  HWND FHandle = nullptr;
  // Which component the popup was skinned for, so that the manager can take
  // it off when that component goes; never read through.
  TSkinData* FSkinData = nullptr;
  std::shared_ptr<const TLoadedSkin> FSkin;
  std::unique_ptr<gui::TBitmap> FBackground;
  HMENU FMenuHandle = nullptr;
};

}  // namespace qm
