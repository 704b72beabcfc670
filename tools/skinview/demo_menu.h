#pragma once
// SkinView's demonstration menu: every kind of item a skin has to draw
// (check marks, a choice of one among three, images, a disabled item,
// separators, a submenu two levels deep and a long item with a short cut).

namespace gui {
class TImageList;
class TMenuItem;
class TPopupMenu;
class TComponent;
}

namespace qm {

// Adds the demonstration items under Root; with images, three of them show
// the pictures 0 to 2 of the menu's image list.
void FillDemoMenu(gui::TMenuItem& Root, bool WithImages);

// The window's context menu: the demonstration items over Images.
gui::TPopupMenu* MakeDemoPopup(gui::TComponent* Owner, gui::TImageList* Images);

}  // namespace qm
