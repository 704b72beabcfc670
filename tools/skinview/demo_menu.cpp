#include "demo_menu.h"

#include <memory>
#include <vector>

#include "gui/menus.h"

namespace qm {

void FillDemoMenu(gui::TMenuItem& Root, bool WithImages) {
  gui::TMenuItem* grid = Root.Add("显示网格(&G)");
  grid->SetChecked(true);
  grid->OnClick = [](gui::TMenuItem& item) { item.SetChecked(!item.Checked()); };
  Root.Add("-");
  // Three sizes, one of them chosen: choosing one clears the others.
  auto sizes = std::make_shared<std::vector<gui::TMenuItem*>>();
  for (const char* caption : {"小图标(&S)", "中图标(&M)", "大图标(&L)"}) {
    gui::TMenuItem* size = Root.Add(caption);
    size->OnClick = [sizes](gui::TMenuItem& chosen) {
      for (gui::TMenuItem* other : *sizes) other->SetChecked(other == &chosen);
    };
    sizes->push_back(size);
  }
  sizes->at(1)->SetChecked(true);
  Root.Add("-");
  // The pictures are the skin's four window glyphs.
  const struct {
    const char* Caption;
    int Image;
  } pictured[] = {{"还原窗口", 0}, {"最大化窗口", 1}, {"最小化窗口", 2}};
  for (const auto& p : pictured) Root.Add(p.Caption)->SetImageIndex(WithImages ? p.Image : -1);
  Root.Add("不可用的项")->SetEnabled(false);
  Root.Add("-");
  gui::TMenuItem* sub = Root.Add("子菜单(&U)");
  sub->Add("第二层的项");
  gui::TMenuItem* deeper = sub->Add("再下一层");
  deeper->Add("第三层的项一");
  deeper->Add("第三层的项二")->SetChecked(true);
  Root.Add("一个相当长的菜单项，带有快捷键")->SetShortCut(gui::ShortCut('L', gui::scCtrl | gui::scShift));
}

gui::TPopupMenu* MakeDemoPopup(gui::TComponent* Owner, gui::TImageList* Images) {
  auto* popup = Owner->Make<gui::TPopupMenu>();
  popup->Name = "DemoPopup";
  popup->Images = Images;
  FillDemoMenu(popup->Items(), Images != nullptr);
  return popup;
}

}  // namespace qm
