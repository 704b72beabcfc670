#include "skin_art.h"

#include "control_art.h"
#include "frame_art.h"

namespace skingen {

std::vector<SkinMember> drawSkinImages(SkinVariant variant) {
  const palette::FrameStyle& f = variant == SkinVariant::Steel ? palette::kSteel : palette::kGraphite;
  return {
      {"top.bmp", drawTopBorder(f)},
      {"bottom.bmp", drawBottomBorder(f)},
      {"left.bmp", drawLeftBorder(f)},
      {"right.bmp", drawRightBorder(f)},
      {"menubar.bmp", drawMenuBar()},
      {"close.bmp", drawCaptionButton(f, CaptionGlyph::Close)},
      {"restore.bmp", drawCaptionButton(f, CaptionGlyph::Restore)},
      {"maximize.bmp", drawCaptionButton(f, CaptionGlyph::Maximise)},
      {"minimize.bmp", drawCaptionButton(f, CaptionGlyph::Minimise)},
      {"rollup.bmp", drawCaptionButton(f, CaptionGlyph::RollUp)},
      {"rolldown.bmp", drawCaptionButton(f, CaptionGlyph::RollDown)},
      {"launch.bmp", drawCaptionButton(f, CaptionGlyph::Launch)},
      {"link.bmp", drawCaptionButton(f, CaptionGlyph::Link)},
      {"mdi.bmp", drawMdiButtons()},
      {"button.bmp", drawPushButtons()},
      {"checkbox.bmp", drawCheckBoxes()},
      {"radio.bmp", drawRadioButtons()},
      {"progress.bmp", drawProgress()},
      {"groupboxedge.bmp", drawGroupBoxEdge()},
      {"groupbox.bmp", drawGroupBoxLabel()},
      {"tab.bmp", drawTabs()},
      {"tabborder.bmp", drawTabBorder()},
      {"header.bmp", drawHeader()},
      {"combobutton.bmp", drawComboButton()},
      {"sunkedge.bmp", drawSunkEdge()},
      {"menuitem.bmp", drawMenuItem()},
      {"menubackground.bmp", drawMenuBackground()},
      {"scrollbar.bmp", drawScrollArrows()},
      {"hscroll.bmp", drawHorzTrack()},
      {"vscroll.bmp", drawVertTrack()},
      {"hthumb.bmp", drawHorzThumb()},
      {"vthumb.bmp", drawVertThumb()},
      {"dialog.bmp", drawDialogGlyph()},
  };
}

std::vector<std::string> packageOrder() {
  std::vector<std::string> names;
  for (const auto& m : drawSkinImages(SkinVariant::Graphite)) {
    names.push_back(m.name);
    // The header strip serves both the tool bars and the column headers, and
    // the package keeps one entry per use; lookups find the first.
    if (m.name == "header.bmp") names.push_back(m.name);
  }
  names.push_back("skin.ini");
  return names;
}

}  // namespace skingen
