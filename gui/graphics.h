#pragma once
// GDI: colours, fonts, brushes, pens, canvases over any DC, 24-bit bitmaps
// and image lists. GDI objects are move-only values that either own their
// handle or only borrow it.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace gui {

// A rectangle's size.
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

// 0x00BBGGRR is an explicit colour; 0xFF000000 + n the system colour n.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clMaroon = 0x000080, clNavy = 0x800000,
                 clGreen = 0x008000, clLime = 0x00FF00, clRed = 0x0000FF, clFuchsia = 0xFF00FF,
                 clGray = 0x808080, clNone = 0x1FFFFFFF;
constexpr TColor SystemColor(int index) { return 0xFF000000u + static_cast<TColor>(index); }
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnText = SystemColor(COLOR_BTNTEXT), clGrayText = SystemColor(COLOR_GRAYTEXT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT), clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clMenu = SystemColor(COLOR_MENU), clMenuText = SystemColor(COLOR_MENUTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
COLORREF ColorToRGB(TColor color);

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

// Text whose accelerator underlines are not to show (its window keeps the
// keyboard cues hidden): the marks taken out, "&&" kept as one "&", and
// DT_NOPREFIX added to the DrawText format. DT_HIDEPREFIX would say the
// same, but not every system heeds it.
void HideAcceleratorMarks(std::wstring& text, UINT& format);
void HideAcceleratorMarks(std::string& text, UINT& format);

// A GDI handle that is deleted on destruction when owned.
template <class H>
class TGdiHandle {
 public:
  TGdiHandle() = default;
  TGdiHandle(H handle, bool owned) : FHandle(handle), FOwned(owned) {}
  TGdiHandle(TGdiHandle&& o) noexcept : FHandle(o.FHandle), FOwned(o.FOwned) { o.FHandle = nullptr; }
  TGdiHandle& operator=(TGdiHandle&& o) noexcept {
    if (this != &o) {
      Reset();
      FHandle = o.FHandle;
      FOwned = o.FOwned;
      o.FHandle = nullptr;
    }
    return *this;
  }
  TGdiHandle(const TGdiHandle&) = delete;
  TGdiHandle& operator=(const TGdiHandle&) = delete;
  ~TGdiHandle() { Reset(); }
  void Reset() {
    if (FHandle && FOwned) DeleteObject(FHandle);
    FHandle = nullptr;
  }
  H Get() const { return FHandle; }
  bool Owned() const { return FOwned; }
  // Lets go of the handle without deleting it.
  H Detach() {
    H handle = FHandle;
    FHandle = nullptr;
    return handle;
  }
  explicit operator bool() const { return FHandle != nullptr; }

 private:
  H FHandle = nullptr;
  bool FOwned = false;
};

// A brush of two colours in alternating pixels, the fill of a pressed
// toggle. Owned by the caller.
TGdiHandle<HBRUSH> PatternBrush(TColor first, TColor second);
// The system's check mark (OBM_CHECK) in Color, centred in R and moved by
// (Dx, Dy); the pixels around the mark are left as they are.
void DrawCheckMark(HDC dc, const RECT& r, TColor color, int dx = 0, int dy = 0);

// Selects an object into a DC for one scope.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ object) : FDC(dc), FOld(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectGuard() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// Saves a DC's whole state for one scope (SaveDC / RestoreDC).
class TDCStateGuard {
 public:
  explicit TDCStateGuard(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
  ~TDCStateGuard() {
    if (FSaved) RestoreDC(FDC, FSaved);
  }
  TDCStateGuard(const TDCStateGuard&) = delete;
  TDCStateGuard& operator=(const TDCStateGuard&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// A window's DC for one scope (GetDC / ReleaseDC); no window: the screen's.
// A whole-window DC reaches the frame too (GetWindowDC).
class TWindowDC {
 public:
  enum TArea { Client, Whole };
  explicit TWindowDC(HWND window, TArea area = Client)
      : FWindow(window), FDC(area == Whole ? GetWindowDC(window) : GetDC(window)) {}
  ~TWindowDC() {
    if (FDC) ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Handle() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Fonts, brushes and pens describe themselves and make their handle on
// demand; any change drops the handle and tells OnChange.
class TFont {
 public:
  TFont();
  TFont(const TFont& o) { Assign(o); }
  TFont& operator=(const TFont& o) {
    Assign(o);
    return *this;
  }
  void Assign(const TFont& source);
  // Takes its description from a LOGFONT (e.g. the system menu font).
  void AssignLogFont(const LOGFONTW& lf);
  // Takes an existing font as this font's handle, e.g. a window's answer to
  // WM_GETFONT or the system caption font, so that text is drawn in exactly
  // that font. Owned: deleted when this font lets go of it. Borrowed: the
  // caller keeps it alive while this font uses it. A null handle stands for
  // the system font, as in WM_GETFONT's answer. The description follows the
  // font; changing any part of it lets go of the handle and makes a new font.
  // Throws std::invalid_argument for a handle that is no font.
  void SetHandle(HFONT font, bool owned);

  std::string Name() const { return FName; }
  void SetName(const std::string& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return FHeight; }
  void SetHeight(int height);
  // Points at 96 dots per inch.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  unsigned Style() const { return FStyle; }
  void SetStyle(unsigned style);
  BYTE Charset() const { return FCharset; }
  void SetCharset(BYTE charset);
  HFONT Handle() const;

  std::function<void()> OnChange;

 private:
  void Changed();
  void Describe(const LOGFONTW& lf);
  std::string FName = "宋体";
  int FHeight = -12;
  TColor FColor = clWindowText;
  unsigned FStyle = 0;
  BYTE FCharset = GB2312_CHARSET;
  // The rest of a font taken from a LOGFONT or a handle (width, weight,
  // quality...), so that a font made again looks the same.
  LOGFONTW FLogFont{};
  bool FHasLogFont = false;
  mutable TGdiHandle<HFONT> FHandle;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle() const;
  std::function<void()> OnChange;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = TBrushStyle::bsSolid;
  mutable TGdiHandle<HBRUSH> FHandle;
};

class TPen {
 public:
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  int Width() const { return FWidth; }
  void SetWidth(int width);
  HPEN Handle() const;
  std::function<void()> OnChange;

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  mutable TGdiHandle<HPEN> FHandle;
};

// Drawing on any DC. The canvas selects its font, brush and pen for each
// operation and puts the DC's own objects back afterwards, so a borrowed DC
// comes back as it was lent.
class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(HDC dc) : FHandle(dc) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  virtual ~TCanvas() = default;

  HDC Handle() const { return FHandle; }
  void SetHandle(HDC dc) { FHandle = dc; }

  TFont Font;
  TBrush Brush;
  TPen Pen;

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(const RECT& r);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  // Draws within r with DrawText flags; returns the text height.
  int DrawText(const std::string& text, RECT& r, UINT format);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  // Stretches source's srcRect into destRect (StretchBlt) in StretchMode.
  void CopyRect(const RECT& destRect, const TCanvas& source, const RECT& srcRect, DWORD rop = SRCCOPY);
  // SetStretchBltMode for CopyRect: COLORONCOLOR drops pixels, HALFTONE
  // averages them (smoother, slower).
  int StretchMode = COLORONCOLOR;
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

 protected:
  HDC RequireHandle() const;

 private:
  HDC FHandle = nullptr;
  POINT FPen{0, 0};
};

enum class TPixelFormat { pf24bit };

class TBitmap;

// A memory DC holding one bitmap for the bitmap's canvas, or none while the
// bitmap is empty.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& owner) : FOwner(owner) {}
  ~TBitmapCanvas() override;
  // bitmap may be null: a DC to draw nothing on.
  void Bind(HBITMAP bitmap);
  void Unbind();

 private:
  TBitmap& FOwner;
  HDC FMemDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  int FSavedLevel = 0;
};

// A top-down 24-bit DIB section: rows are reached directly by ScanLine.
class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  ~TBitmap();

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, FHeight); }
  void SetHeight(int h) { SetSize(FWidth, h); }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  TPixelFormat PixelFormat() const { return TPixelFormat::pf24bit; }
  // Row y as BGR triples.
  std::uint8_t* ScanLine(int y);
  const std::uint8_t* ScanLine(int y) const;
  // Bytes from one row to the next.
  int Stride() const { return (FWidth * 3 + 3) & ~3; }
  HBITMAP Handle() const { return FHandle.Get(); }
  // Draws on the bitmap; an empty bitmap's canvas draws nothing and the
  // bitmap stays empty until it is given a size.
  TCanvas& Canvas();

  // Reads a Windows bitmap file (any depth GDI can read) and converts it to
  // 24 bits. Throws std::runtime_error for a stream that is not a sound BMP;
  // the bitmap is then unchanged.
  void LoadFromStream(std::istream& in);
  void LoadFromFile(const std::wstring& path);
  // A bitmap resource of the module (e.g. a glyph strip).
  void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
  void SaveToStream(std::ostream& out) const;
  void Assign(const TBitmap& source);
  // Copies the whole bitmap to the canvas at (x, y).
  void Draw(TCanvas& target, int x, int y) const;

 private:
  void Create(int width, int height);
  void FromHandle(HBITMAP source);
  int FWidth = 0, FHeight = 0;
  TGdiHandle<HBITMAP> FHandle;
  std::uint8_t* FBits = nullptr;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

// Equal-sized images with masks; drawn normal or greyed.
class TImageList {
 public:
  TImageList(int width = 16, int height = 16);
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;
  ~TImageList();
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const;
  HIMAGELIST Handle() const { return FHandle; }
  // Cuts the bitmap into as many images as fit its width; pixels of the
  // transparent colour are left out. Returns the index of the first image.
  int AddMasked(const TBitmap& bitmap, TColor transparent);
  void Clear();
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

 private:
  int FWidth, FHeight;
  HIMAGELIST FHandle;
};

}  // namespace gui
