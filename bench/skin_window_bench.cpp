// What the skin costs a window, against the same window with its native
// frame, side by side in one process (wall-clock time, medians of rounds):
//
//  - frame repaint: WM_NCPAINT for the whole frame of a window of the main
//    form's size, skinned with the stored skin, then with the skinner
//    detached; each round times a batch of each;
//  - start-up: the program's main form made, shown and pumped until its
//    first frame is painted, once with its stored skin and once with its
//    skin data switched off before it is shown, alternately. Both read the
//    stored skin while the form is made; that read is timed on its own too;
//  - page repaint: the program's main form on its busiest page (分区备份),
//    the page control with every control on it repainted at once, skinned
//    and with skinning switched off through the form's skin data, in
//    alternating rounds.
//
// With --scales, on a display of 200 % (a Wine prefix of 192 DPI), the
// skinned main form at 200 % against the same at 100 % instead:
//
//  - start-up as above, alternately in the process's per-monitor context
//    (192 DPI) and in the system-scaled one, where its windows are 96 DPI;
//  - full repaint: the whole window, frame and every control, at 192 DPI
//    and, moved by WM_DPICHANGED, at 96, in alternating rounds.
//
//   skin_window_bench [rounds] [--scales]

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gui/dpi.h"
#include "main_form.h"
#include "skin/1_data/win_skin_data.h"
#include "skin/4_form/win_skin_form.h"
#include "skin/5_manage/skin_manage.h"

namespace {

double Seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

template <typename Done>
void PumpUntil(Done done, double limit = 5.0) {
  const double until = Seconds() + limit;
  while (!done() && Seconds() < until) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The main form's client size.
constexpr int kClientWidth = 483, kClientHeight = 436;

double RepaintFrames(HWND window, int paints) {
  const double t0 = Seconds();
  for (int i = 0; i < paints; ++i) SendMessageW(window, WM_NCPAINT, 1, 0);
  GdiFlush();
  return (Seconds() - t0) / paints;
}

struct TPair {
  std::vector<double> Skinned, Native;
};

TPair FrameRepaint(int rounds, int paints) {
  qm::TSkinData skin(nullptr);
  qm::ReadStoredValuesFromResource(skin, GetModuleHandleW(nullptr), L"MAINFORM_SKINDATA1");
  gui::TForm form(nullptr);
  form.SetBorderStyle(gui::TFormBorderStyle::bsDialog);
  form.SetClientSize(kClientWidth, kClientHeight);
  form.SetCaption("启明映像向导 V1.0");
  form.Show();
  SetActiveWindow(form.Handle());
  PumpUntil([] { return false; }, 0.2);
  TPair t;
  for (int r = 0; r < rounds; ++r) {
    auto* skinner = form.Make<qm::TWinSkinForm>();
    skinner->FHandle = form.Handle();
    skinner->AttachLibraryForm(&skin, &form);
    PostMessageW(form.Handle(), qm::WM_SKINATTACHED, 0, 1000);
    PumpUntil([&] { return skinner->Phase() == qm::TWinSkinForm::phReady; });
    PumpPending();
    t.Skinned.push_back(RepaintFrames(form.Handle(), paints));
    skinner->Detach();
    skinner->Free();
    PumpPending();
    t.Native.push_back(RepaintFrames(form.Handle(), paints));
  }
  return t;
}

bool SkinnedAt(HWND window, int dpi);

// The program's start-up; a skinned one checks that its window ended at
// Dpi, when given.
double StartUp(bool skinned, int Dpi = 0) {
  const double t0 = Seconds();
  auto form = std::make_unique<qm::TMainForm>(nullptr);
  form->Timer1->SetEnabled(false);
  if (!skinned) form->SkinData1->SetActive(false);
  // The end of the window's first WM_NCPAINT, seen through the form's own
  // WindowProc: a native subclass (SetWindowSubclass) would look itself up
  // in a window property on every message, a round trip to the window
  // server under Wine that the program does not make.
  bool painted = false;
  HWND h = form->Handle();
  form->WindowProc = [&painted, inner = form->WindowProc](gui::TMessage& m) {
    inner(m);
    if (m.Msg == WM_NCPAINT) painted = true;
  };
  form->Show();
  SetActiveWindow(h);
  if (skinned) {
    // The skinner paints its first frame itself when it has fitted the window.
    PumpUntil([&] {
      qm::TWinSkinForm* s = qm::FormSkinnerHost() ? qm::FormSkinnerHost()->FindFormSkinner(h) : nullptr;
      return s && s->Phase() == qm::TWinSkinForm::phReady;
    });
  } else {
    PumpUntil([&] { return painted; });
  }
  // Whatever is still to be painted, the controls included, is painted now.
  RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  const double elapsed = Seconds() - t0;
  if (skinned != (SendMessageW(h, qm::WM_ISSKINNED, 0, 0) == 1)) {
    std::fprintf(stderr, "the form was %s skinned\n", skinned ? "not" : "");
    std::exit(1);
  }
  if (skinned && Dpi && !SkinnedAt(h, Dpi)) {
    std::fprintf(stderr, "the form was not skinned at %d DPI\n", Dpi);
    std::exit(1);
  }
  form.reset();
  // Each start-up begins as the program does, with no manager yet.
  qm::TSkinManage::Free();
  PumpPending();
  return elapsed;
}

// A start-up whose windows are made at 96 DPI: in the system-scaled
// awareness context, which Windows (and Wine) give a thread for a while.
double StartUpAt96() {
  using TSetContext = HANDLE(WINAPI*)(HANDLE);
  static const auto set = reinterpret_cast<TSetContext>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  if (!set) return StartUp(true, 96);
  const HANDLE unaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));  // DPI_AWARENESS_CONTEXT_UNAWARE
  const HANDLE was = set(unaware);
  const double t = StartUp(true, 96);
  set(was);
  return t;
}

bool SkinnedAt(HWND window, int dpi) {
  qm::TWinSkinForm* s = qm::FormSkinnerHost() ? qm::FormSkinnerHost()->FindFormSkinner(window) : nullptr;
  return s && s->Phase() == qm::TWinSkinForm::phReady && s->Dpi() == dpi;
}

// What the system sends a window dragged to a monitor of dpi.
void MoveToScale(HWND window, int dpi, int from) {
  RECT r;
  GetWindowRect(window, &r);
  RECT suggested{r.left, r.top, r.left + gui::RescaleDpi(r.right - r.left, dpi, from),
                 r.top + gui::RescaleDpi(r.bottom - r.top, dpi, from)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  PumpPending();
}

double RepaintWhole(HWND window, int paints) {
  const double t0 = Seconds();
  for (int i = 0; i < paints; ++i)
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  return (Seconds() - t0) / paints;
}

int CompareScales(int rounds) {
  gui::MakeProcessDpiAware();
  const int high = gui::SystemDpi();
  if (high == 96) {
    std::fprintf(stderr, "--scales compares a display of another scale with 96 DPI: run it in a prefix of 192 DPI\n");
    return 2;
  }
  StartUp(true, high);
  StartUpAt96();
  TPair start;  // Skinned: at the display's scale; Native: at 96 DPI
  for (int r = 0; r < rounds; ++r) {
    start.Skinned.push_back(StartUp(true, high));
    start.Native.push_back(StartUpAt96());
  }
  auto form = std::make_unique<qm::TMainForm>(nullptr);
  form->Timer1->SetEnabled(false);
  form->Show();
  const HWND h = form->Handle();
  SetActiveWindow(h);
  PumpUntil([&] { return SkinnedAt(h, high); });
  const int paints = rounds > 3 ? 20 : 2;
  TPair repaint;
  for (int r = 0; r < rounds; ++r) {
    repaint.Skinned.push_back(RepaintWhole(h, paints));
    MoveToScale(h, 96, high);
    if (!SkinnedAt(h, 96)) {
      std::fprintf(stderr, "the window did not take the skin at 96 DPI\n");
      return 1;
    }
    repaint.Native.push_back(RepaintWhole(h, paints));
    MoveToScale(h, high, 96);
  }
  form.reset();
  qm::TSkinManage::Free();
  const double highStart = Median(start.Skinned), lowStart = Median(start.Native);
  const double highPaint = Median(repaint.Skinned), lowPaint = Median(repaint.Native);
  std::printf("Skinned main form at %d DPI against 96 DPI, medians of %d rounds\n", high, rounds);
  std::printf("start-up to the first painted frame: %d DPI %.1f ms, 96 DPI %.1f ms, ratio %.2f\n", high,
              highStart * 1e3, lowStart * 1e3, highStart / lowStart);
  std::printf("full repaint (frame and every control, %d per round): %d DPI %.2f ms, 96 DPI %.2f ms, ratio %.2f "
              "(goal <= 2.5)\n",
              paints, high, highPaint * 1e3, lowPaint * 1e3, highPaint / lowPaint);
  return 0;
}

// Switches the form's skinning through its skin data component; the
// manager acts on its timer, hurried here.
void SwitchSkinning(qm::TMainForm& form, bool on) {
  form.SkinData1->SetActive(on);
  qm::TSkinManage::Instance()->RunPendingAction();
  PumpUntil([&] {
    qm::TWinSkinForm* s = qm::TSkinManage::Instance()->FindFormSkinner(form.Handle());
    return on ? s && s->Phase() == qm::TWinSkinForm::phReady : !s;
  });
  PumpPending();
}

double RepaintPage(qm::TMainForm& form, int paints) {
  HWND pages = form.PageControl1->Handle();
  const double t0 = Seconds();
  for (int i = 0; i < paints; ++i)
    RedrawWindow(pages, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  return (Seconds() - t0) / paints;
}

TPair PageRepaint(int rounds, int paints) {
  auto form = std::make_unique<qm::TMainForm>(nullptr);
  form->Timer1->SetEnabled(false);
  form->Show();
  SetActiveWindow(form->Handle());
  PumpUntil([&] {
    qm::TWinSkinForm* s = qm::FormSkinnerHost() ? qm::FormSkinnerHost()->FindFormSkinner(form->Handle()) : nullptr;
    return s && s->Phase() == qm::TWinSkinForm::phReady;
  });
  form->PageControl1->SetActivePageIndex(0);
  PumpPending();
  TPair t;
  for (int r = 0; r < rounds; ++r) {
    t.Skinned.push_back(RepaintPage(*form, paints));
    SwitchSkinning(*form, false);
    t.Native.push_back(RepaintPage(*form, paints));
    SwitchSkinning(*form, true);
  }
  form.reset();
  qm::TSkinManage::Free();
  PumpPending();
  return t;
}

double ReadStoredSkin() {
  const double t0 = Seconds();
  qm::TSkinData skin(nullptr);
  qm::ReadStoredValuesFromResource(skin, GetModuleHandleW(nullptr), L"MAINFORM_SKINDATA1");
  return Seconds() - t0;
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  gui::Application().Title = "启明映像向导";
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  if (argc > 2 && std::string(argv[2]) == "--scales") return CompareScales(rounds);
  const int paints = rounds > 3 ? 200 : 10;

  const TPair frame = FrameRepaint(rounds, paints);
  const double skinnedPaint = Median(frame.Skinned), nativePaint = Median(frame.Native);

  // One start-up of each first, so that neither pays for what the process
  // sets up once.
  StartUp(true);
  StartUp(false);
  TPair start;
  std::vector<double> reads;
  for (int r = 0; r < rounds; ++r) {
    start.Skinned.push_back(StartUp(true));
    start.Native.push_back(StartUp(false));
    reads.push_back(ReadStoredSkin());
  }
  const double skinnedStart = Median(start.Skinned), offStart = Median(start.Native), read = Median(reads);

  const int pagePaints = rounds > 3 ? 20 : 2;
  const TPair page = PageRepaint(rounds, pagePaints);
  const double skinnedPage = Median(page.Skinned), nativePage = Median(page.Native);

  std::printf("Skinned window against its native frame, medians of %d rounds\n", rounds);
  std::printf("frame repaint (WM_NCPAINT, %d per round): skinned %.3f ms, native %.3f ms, ratio %.2f (goal <= 3)\n",
              paints, skinnedPaint * 1e3, nativePaint * 1e3, skinnedPaint / nativePaint);
  std::printf("start-up to the first painted frame: skinned %.1f ms, skinning off %.1f ms, ratio %.2f (goal <= 1.3)\n",
              skinnedStart * 1e3, offStart * 1e3, skinnedStart / offStart);
  std::printf("  reading the stored skin, which both do: %.1f ms; against a form that never reads it: ratio %.2f\n",
              read * 1e3, skinnedStart / (offStart - read));
  std::printf("busiest page repaint (分区备份, %d per round): skinned %.2f ms, skinning off %.2f ms, ratio %.2f (goal <= 3)\n",
              pagePaints, skinnedPage * 1e3, nativePage * 1e3, skinnedPage / nativePage);
  return 0;
}
