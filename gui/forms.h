#pragma once
// Forms, the screen and the application object.

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control.h"

namespace gui {

class TMainMenu;
class TMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

class TCustomForm : public TWinControl {
  QM_GUI_CLASS(TCustomForm, TWinControl, "TScrollingWinControl")
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TPosition Position = TPosition::poDesigned;
  TFormStyle FormStyle = TFormStyle::fsNormal;
  // Stored for skinning and descendants; these forms are laid out to fit
  // and do not scroll.
  bool AutoScroll = false;

  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  void SetClientSize(int width, int height);

  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // The form's menu was changed: rebuild the bar and tell the handler chain.
  void MenuChanged();

  void Show();
  void Hide();
  void Close();
  bool Active() const;


 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandle() override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  // The client size, the controls and the font; the window stays where it
  // is on the screen.
  void ScaleLayout(int fromDpi) override;
  void Notification(TComponent* component, TOperation operation) override;
  // Answers Alt+key by clicking the control whose caption carries "&key".
  void DialogChar(TMessage& message);
  // The menu of any owned menu component that knows the item.
  TMenu* FindMenuOf(UINT command) const;
  void ApplyPosition();

 private:
  TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
  int FClientWidth = 320, FClientHeight = 240;
  TDesignLength FDesignClient[2];
  TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
  QM_GUI_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner);
};

// The forms of the program and the system's menu font.
class TScreen {
 public:
  TScreen();
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int index) const { return FForms.at(index); }
  // The first form whose window is handle, or none.
  TCustomForm* FindForm(HWND handle) const;
  TFont& MenuFont() { return FMenuFont; }
  // The menu font at a display scale (a menu of a window on a monitor of
  // that scale); made when first asked for, until the next refresh. Use it
  // at once: a refresh replaces it.
  TFont& MenuFont(int dpi);
  // Re-reads the menu font from the system metrics.
  void RefreshMenuFont();
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  friend class TCustomForm;
  std::vector<TCustomForm*> FForms;
  TFont FMenuFont;
  std::map<int, std::unique_ptr<TFont>> FScaledMenuFonts;
};

class TApplication {
 public:
  std::string Title;
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Handles every message waiting now, then returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Clears the terminated state so a loop can run again (tests).
  void Reset() { FTerminated = false; }

  // The standard error box: the exception's message, an OK button, and the
  // program goes on. OnException, when set, takes the place of the box.
  void HandleException(std::exception_ptr error);
  std::function<void(const std::string& message)> OnException;
  // Offered each message the loop takes before anything else; true when it
  // was handled there (the help viewer's keys, for one).
  std::function<bool(MSG& msg)> OnMessage;
  // The text HandleException shows for an exception.
  static std::string ExceptionMessage(std::exception_ptr error);

  // Message boxes of the program, captioned with Title.
  int ShowMessage(const std::string& text, UINT flags = MB_OK);

 private:
  bool ProcessMessage(MSG& msg);
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FHandlingException = false;
};

TApplication& Application();
TScreen& Screen();

}  // namespace gui
